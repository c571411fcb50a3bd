#include "engine/data_module.h"

#include "conduit/configure_conduit.h"
#include "engine/item_list.h"
#include "settings/settings_form.h"

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
  c.OnExecConduit = [this](const ThcdSyncProperties& props) { hcdConduitExecute1ExecConduit(props); };
  c.OnConfigConduit = [this](ThcdCfgConduitInfo& Data) { hcdConduitConfigure1ConfigConduit(Data); };

  table_ = std::make_unique<ThcdPalmRemoteTable>(this);
  ConfigureFavoritesTable(*table_);
}

TDataModule1::~TDataModule1() {
  // The table goes first: it may still hold the database open.
  table_.reset();
  component_.reset();
}

void TDataModule1::hcdConduitConfigure1ConfigConduit(ThcdCfgConduitInfo& Data) {
  RunHotSyncActionChoice(Data, [] { ShowSettings(); }, this);
}

}  // namespace kestro
