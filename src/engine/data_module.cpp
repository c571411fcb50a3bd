#include "engine/data_module.h"

namespace kestro {

TDataModule1::TDataModule1() : Component(nullptr) {
  SetName("DataModule1");
  component_ = std::make_unique<ThcdPalmComponent>(this);
  ThcdPalmComponent& c = *component_;
  c.SetName("hcdPalmComponent1");
  c.SetConduitName("Kestro");
  c.SetConduitVersion("1.0");
  c.SetPriority(2);
  c.SetDirectory("Default");
  c.SetInformation("Kestro Sync");
  c.SetCreatorID("Kstr");
}

TDataModule1::~TDataModule1() = default;

}  // namespace kestro
