#include "platform/name_lookup.h"

#include "platform/file_system.h"

namespace kestro::platform {

// The Windows file system already treats names without regard to case.
std::string ExistingNameCaseBlind(const std::string&, const std::string& name) { return name; }

std::string FolderNames::ExistingNameCaseBlind(const std::string&, const std::string& name) { return name; }

bool FolderNames::HoldsFile(const std::string& folder, const std::string& name) {
  return FileExists(folder + "\\" + name);
}

bool FolderNames::IsThere(const std::string& folder) { return DirectoryExists(folder); }

void FolderNames::Added(const std::string&, const std::string&, bool) {}
void FolderNames::Removed(const std::string&, const std::string&) {}
void FolderNames::Made(const std::string&) {}

}  // namespace kestro::platform
