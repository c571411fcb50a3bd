// Configuring the conduit: the component's ConfigConduit (the bound handler,
// or the default dialog), the default configuration, the engine's HotSync
// action choice, and the two mappings between the host's sync types and the
// actions of the HotSync action dialog. All of them leave syncPref at 1 when
// "Set as Default" was confirmed and at 2 otherwise, cancelled dialogs too.
#pragma once

#include <functional>
#include <optional>

#include "conduit/palm_component.h"
#include "hostapi/host_records.h"

namespace kestro {

// syncTemporary to the action preselected: 2 -> 2, 3 -> 1, 6 -> 3, else 0.
int ActionIndexOfSyncType(int32_t sync_type);
// A chosen action to syncNew: 0 -> 0, 1 -> 3, 2 -> 2, 3 -> 6; other indexes
// leave the sync type as it was (nullopt).
std::optional<int32_t> SyncTypeOfActionIndex(int action_index);

// Raises OnConfigConduit when bound, else DefaultConfigConduit.
void ConfigConduit(ThcdPalmComponent& component, ThcdCfgConduitInfo& Data);
// The dialog named after the component, all four actions allowed.
void DefaultConfigConduit(const ThcdPalmComponent& component, ThcdCfgConduitInfo& Data);

// The engine's configuration handler: the dialog without a conduit name,
// "Handheld overwrites desktop" not offered, and a "Settings ..." button that
// runs show_settings.
void RunHotSyncActionChoice(ThcdCfgConduitInfo& Data, std::function<void()> show_settings,
                            Component* owner = nullptr);

// Builds the configuration record that the older entry point passes on, from
// the host's sync preference record and the component's creator ID (null: 0).
ThcdCfgConduitInfo CfgInfoFromPreference(const hostapi::SyncPreference& pref, const ThcdPalmComponent* component);

}  // namespace kestro
