// Desktop file faults on request, so that a test can fail one chosen change
// of a run the way a full disk or a refused permission would. The switch is
// the environment variable KESTRO_PLATFORM_FAULT: entries separated by ',',
//   operation:k        the k-th call of the operation fails
//   operation:k:text   only calls whose path contains text count and fail
// where k is a number from 1, or "*" for every such call. Operations: write
// (a whole file replaced, profile strings included), rename, delete, mkdir.
// Counting starts when the switch takes a new value; each module (the
// conduit, each host library) counts its own calls. Unset, a check is one
// environment lookup.
#pragma once

#include <string>
#include <string_view>

namespace kestro::platform {

constexpr const char* kPlatformFaultVariable = "KESTRO_PLATFORM_FAULT";

enum class FileOperation { kWrite, kRename, kDelete, kMakeFolder };

// Counts the call and answers whether the switch asks it to fail. The caller
// then fails as the operating system would have: with nothing changed.
bool FaultRequested(FileOperation operation, std::string_view path);

}  // namespace kestro::platform
