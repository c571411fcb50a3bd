// The hotsync commands. Each takes the arguments after its name, prints its
// own --help, and answers an exit code of command_line.h.
#pragma once

#include <string>
#include <vector>

namespace kestro::hotsync {

using Args = std::vector<std::string>;

int SyncCommand(const Args& args);
int ConfigCommand(const Args& args);
int RegisterCommand(const Args& args);
int UnregisterCommand(const Args& args);
int ConduitsCommand(const Args& args);
int LogCommand(const Args& args);
int ListCommand(const Args& args);
int DumpCommand(const Args& args);
int UsersCommand(const Args& args);
int InstallCommand(const Args& args);
int BackupsCommand(const Args& args);
int RestoreBackupCommand(const Args& args);

}  // namespace kestro::hotsync
