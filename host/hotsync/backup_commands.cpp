// hotsync backups / restore-backup: the backups conduits keep of what their
// runs changed, and putting one back. A restore is a HotSync of its own: the
// conduit first keeps what the restore replaces, puts the backup's desktop
// files back, and the run carries them to the handheld as any change.
#include <cstdio>

#include "command_line.h"
#include "commands.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "run_records.h"
#include "session.h"

namespace kestro::hotsync {

int BackupsCommand(const Args& args) {
  Arguments a = ParseArguments(args, {"user"}, {});
  if (a.help) {
    Say("usage: hotsync backups [--user NAME]\n"
        "Lists the backups the conduits kept, oldest first: ID, what that run changed,\n"
        "and where the backup is. 'hotsync restore-backup ID' puts one back.\n"
        "Exit codes: 0 listed, 2 usage.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  auto user = ResolveUser(a.Option("user"));
  if (!user) return Fail(kUsage, "not a user name");
  for (const RunRecord& backup : RunRecords(*user, /*backups=*/true)) {
    std::string text, run;
    platform::ReadWholeFile(backup.path + "/backup.txt", text);
    const std::size_t at = text.find("Run=");
    if (at != std::string::npos) run = text.substr(at + 4, text.find('\n', at) - at - 4);
    Say(backup.id + "  " + (run.empty() ? "(no run recorded)" : run) + "  " + backup.path);
  }
  return kOk;
}

int RestoreBackupCommand(const Args& args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    Say("usage: hotsync restore-backup ID [--creator ID | --conduit PATH] [--user NAME]\n"
        "Puts the desktop favourites of backup ID back and runs a two-way HotSync that\n"
        "carries them to the handheld. What the restore replaces is backed up first.\n"
        "Exit codes as for hotsync sync.");
    return kOk;
  }
  if (args.empty() || args[0].rfind("--", 0) == 0) return Fail(kUsage, "restore-backup needs a backup ID (hotsync backups lists them)");
  platform::SetEnv("KESTRO_RESTORE_BACKUP", args[0]);
  Args sync(args.begin() + 1, args.end());
  sync.insert(sync.end(), {"--type", "synchronize"});
  return SyncCommand(sync);
}

}  // namespace kestro::hotsync
