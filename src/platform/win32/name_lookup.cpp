#include "platform/name_lookup.h"

namespace kestro::platform {

// The Windows file system already treats names without regard to case.
std::string ExistingNameCaseBlind(const std::string&, const std::string& name) { return name; }

}  // namespace kestro::platform
