// hotsync: a command-line HotSync Manager for one user and the simulated
// handheld. "hotsync" alone runs a HotSync of every registered conduit.
#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"

namespace {

using namespace kestro::hotsync;

struct Command {
  const char* name;
  int (*run)(const Args&);
  const char* summary;
};

const Command kCommands[] = {
    {"sync", SyncCommand, "run a HotSync of every registered conduit, or of one"},
    {"config", ConfigCommand, "choose a conduit's HotSync action (its CfgConduit)"},
    {"register", RegisterCommand, "register a conduit library (its DllRegisterServer)"},
    {"unregister", UnregisterCommand, "unregister a conduit library (its DllUnregisterServer)"},
    {"conduits", ConduitsCommand, "list the registered conduits"},
    {"log", LogCommand, "print the log of the last HotSync"},
    {"list", ListCommand, "list the handheld's databases"},
    {"dump", DumpCommand, "print one handheld database (KestroDB as a tree)"},
    {"users", UsersCommand, "list or add HotSync users"},
    {"install", InstallCommand, "queue a file for the handheld"},
    {"backups", BackupsCommand, "list the backups of what HotSyncs changed"},
    {"restore-backup", RestoreBackupCommand, "put a backup back and HotSync it"},
};

int Help() {
  Say("usage: hotsync [COMMAND] [OPTIONS]   (no command: a HotSync, as 'hotsync sync')");
  Say("Commands:");
  for (const Command& c : kCommands) {
    std::string name = c.name;
    Say("  " + name + std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') + c.summary);
  }
  Say("'hotsync COMMAND --help' describes a command.");
  Say("Exit codes: 0 done, 1 failed, 2 usage, 3 not found, 4 conduit not loadable.");
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  Args args(argv + 1, argv + argc);
  if (args.empty()) return SyncCommand(args);
  const std::string& first = args[0];
  if (first == "--help" || first == "-h" || first == "help") return Help();
  // Options without a command belong to sync ("hotsync --conduit PATH").
  if (first.rfind("--", 0) == 0) return SyncCommand(args);
  for (const Command& c : kCommands) {
    if (first == c.name) return c.run(Args(args.begin() + 1, args.end()));
  }
  return Fail(kUsage, "unknown command " + first + " (hotsync --help lists them)");
}
