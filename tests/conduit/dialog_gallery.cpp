// Shows each dialog in turn, for a person to look at (or, with
// KESTRO_DIALOG_SNAPSHOT, to photograph; see docs/dialogs.md): the HotSync
// action choice as the engine offers it, with its "Settings ..." button and
// the settings dialog behind it, then the action dialog with both extra
// buttons.
#include <cstdio>

#include "conduit/configure_conduit.h"
#include "conduit/hotsync_action_dialog.h"
#include "settings/settings_form.h"

int main() {
  using namespace kestro;
  ThcdCfgConduitInfo info{};
  info.syncTemporary = hostapi::kSyncDesktopOverwritesHandheld;
  RunHotSyncActionChoice(info, [] { ShowSettings(); });
  std::printf("HotSync action: syncNew %d, syncPref %d\n", info.syncNew, info.syncPref);

  ThcdHotSyncActionDialog dialog;
  dialog.SetConduitName("Kestro");
  dialog.OnBtnDataClick = [](Component*) { ShowSettings(); };
  dialog.OnBtnAboutClick = [](Component*) {};
  bool confirmed = dialog.Execute();
  std::printf("Action dialog: %s, action %d\n", confirmed ? "OK" : "Cancel", dialog.ActionIndex());
  return 0;
}
