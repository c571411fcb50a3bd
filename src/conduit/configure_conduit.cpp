#include "conduit/configure_conduit.h"

#include <cstring>

#include "conduit/hotsync_action_dialog.h"

namespace kestro {
namespace {

using namespace hostapi;

// Runs the dialog and writes the record's results.
void ChooseAction(ThcdHotSyncActionDialog& dialog, ThcdCfgConduitInfo& Data) {
  dialog.SetActionIndex(ActionIndexOfSyncType(Data.syncTemporary));
  if (dialog.Execute()) {
    if (auto sync_type = SyncTypeOfActionIndex(dialog.ActionIndex())) Data.syncNew = *sync_type;
  }
  Data.syncPref = dialog.SetAsDefault() ? 1 : 2;
}

}  // namespace

int ActionIndexOfSyncType(int32_t sync_type) {
  switch (sync_type) {
    case kSyncHandheldOverwritesDesktop: return 2;
    case kSyncDesktopOverwritesHandheld: return 1;
    case kSyncDoNothing: return 3;
    default: return 0;
  }
}

std::optional<int32_t> SyncTypeOfActionIndex(int action_index) {
  switch (action_index) {
    case 0: return kSyncSynchronize;
    case 1: return kSyncDesktopOverwritesHandheld;
    case 2: return kSyncHandheldOverwritesDesktop;
    case 3: return kSyncDoNothing;
    default: return std::nullopt;
  }
}

void ConfigConduit(ThcdPalmComponent& component, ThcdCfgConduitInfo& Data) {
  if (component.OnConfigConduit) {
    component.OnConfigConduit(Data);
  } else {
    DefaultConfigConduit(component, Data);
  }
}

void DefaultConfigConduit(const ThcdPalmComponent& component, ThcdCfgConduitInfo& Data) {
  ThcdHotSyncActionDialog dialog;
  dialog.SetConduitName(component.ConduitName());
  ChooseAction(dialog, Data);
}

void RunHotSyncActionChoice(ThcdCfgConduitInfo& Data, std::function<void()> show_settings, Component* owner) {
  ThcdHotSyncActionDialog dialog(owner);
  dialog.OnBtnDataClick = [show_settings](Component*) {
    if (show_settings) show_settings();
  };
  dialog.SetBtnDataCaption("Settings ...");
  dialog.SetActionEnabled(2, false);
  ChooseAction(dialog, Data);
}

ThcdCfgConduitInfo CfgInfoFromPreference(const SyncPreference& pref, const ThcdPalmComponent* component) {
  ThcdCfgConduitInfo info;
  std::memset(&info, 0, sizeof info);
  info.dwVersion = 0xFFFFFFFFu;
  info.dwSize = sizeof(ThcdCfgConduitInfo);
  info.syncPref = pref.preference;
  info.syncPermanent = pref.sync_type;
  info.syncTemporary = pref.sync_type;
  std::memcpy(info.szTextBlock, pref.text_block, sizeof info.szTextBlock);
  if (component && component->CreatorID().size() == 4) {
    const std::string& id = component->CreatorID();
    // First character in the lowest byte.
    info.dwCreatorId = static_cast<uint32_t>(static_cast<unsigned char>(id[0])) |
                       static_cast<uint32_t>(static_cast<unsigned char>(id[1])) << 8 |
                       static_cast<uint32_t>(static_cast<unsigned char>(id[2])) << 16 |
                       static_cast<uint32_t>(static_cast<unsigned char>(id[3])) << 24;
  }
  return info;
}

}  // namespace kestro
