// What every hotsync command shares: its arguments, its exit codes and its
// one-line messages. Exit codes are fixed so that scripts can rely on them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestro::hotsync {

enum ExitCode : int {
  kOk = 0,
  kFailed = 1,       // the HotSync or the conduit's operation failed
  kUsage = 2,        // the command line is wrong
  kNotFound = 3,     // no such database, conduit, user or file
  kNoConduit = 4,    // the conduit library cannot be loaded or lacks an entry point
};

// A command's arguments: "--name value" options, "--flag" switches and the
// rest in order. Options named in takes_value take the next argument.
struct Arguments {
  std::map<std::string, std::string> options;
  std::vector<std::string> positional;
  bool help = false;
  std::string error;  // set when the arguments do not parse

  std::optional<std::string> Option(const std::string& name) const;
  bool Has(const std::string& name) const { return options.count(name) != 0; }
};
Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& takes_value,
                         const std::vector<std::string>& switches);

// "hotsync: <text>" on stderr; returns code.
int Fail(int code, const std::string& text);
// Prints a line to stdout at once (progress must appear as it arrives).
void Say(const std::string& text);

// A sync type from the command line: a number or one of the names
// "synchronize", "handheld-overwrites", "desktop-overwrites", "nothing".
std::optional<int> ParseSyncType(const std::string& text);
std::string SyncTypeName(int type);

}  // namespace kestro::hotsync
