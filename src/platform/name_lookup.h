// Names in a favourites folder are case-blind and case-keeping, as on NTFS:
// an operation on "bbc.url" must act on an existing "BBC.url", never create a
// second file beside it. This unit finds the name an entry really has.
#pragma once

#include <string>

namespace kestro::platform {

// The name of the entry of folder that equals name with A-Z folded (the exact
// name when it exists; the first such entry in listing order otherwise), or
// name itself when there is none. On a case-blind file system: name.
std::string ExistingNameCaseBlind(const std::string& folder, const std::string& name);

}  // namespace kestro::platform
