// The data module: the conduit component and the handheld table, created when
// the library loads and destroyed when it unloads, and the handlers bound to
// the component's events.
#pragma once

#include <memory>

#include "conduit/component.h"
#include "conduit/palm_component.h"

namespace kestro {

class TDataModule1 : public Component {
 public:
  TDataModule1();
  ~TDataModule1() override;

  ThcdPalmComponent& hcdPalmComponent1() { return *component_; }

 private:
  std::unique_ptr<ThcdPalmComponent> component_;
};

}  // namespace kestro
