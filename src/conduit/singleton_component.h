// Components of which at most one live instance per concrete class may exist
// in the process. The registry maps class names to instances; every entry
// point finds the conduit component through it.
#pragma once

#include <string>

#include "base/component.h"
#include "base/exception.h"

namespace kestro {

class EhcdSingletonError : public Exception {
 public:
  using Exception::Exception;
};

class ThcdSingletonComponent : public Component {
 public:
  ~ThcdSingletonComponent() override;
  const std::string& ClassName() const { return class_name_; }

 protected:
  // Each concrete class passes its own name, so a derived class never shares
  // its base's key. Raises EhcdSingletonError when the class has an instance.
  ThcdSingletonComponent(std::string class_name, Component* owner);

 private:
  std::string class_name_;
};

// The registered instance of exactly that class, or null.
ThcdSingletonComponent* FindSingleton(const std::string& class_name);
// Releases the registry (at library unload).
void ReleaseSingletonRegistry();

}  // namespace kestro
