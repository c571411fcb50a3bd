// Where things are: the folder of the host program (the state files live
// there), the file of our own library, and the current directory.
#pragma once

#include <string>

namespace kestro::platform {

// Folder of the running program's executable, ending in the separator.
// KESTRO_HOST_FOLDER overrides it, so tests can run side by side.
std::string HostProgramFolder();

// Full path of the module (library or program) that holds this code.
std::string OwnModuleFile();

// Folder part of a path, up to and including the last separator.
std::string FolderOf(const std::string& path);

std::string CurrentDirectory();
bool SetCurrentDirectory(const std::string& dir);

// The native path separator, '/' or '\\'.
char PathSeparator();

}  // namespace kestro::platform
