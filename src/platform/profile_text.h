// The profile-string rules on a text held in memory, shared by the platforms
// that have no such functions of their own and by tests. Lines the rules do
// not touch keep their bytes and their line ends.
#pragma once

#include <string>
#include <string_view>

namespace kestro::platform {

// The value of key in section (names compared with A-Z folded, blanks around
// names and value ignored, one pair of enclosing quotes removed), cut to
// kProfileValueMax characters; false when there is no such key.
bool ReadProfileValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string& value);
// The text with key set to value in section: an existing key line is
// rewritten, a new key goes after the section's last line that is not blank,
// a new section goes at the end. New lines end in CR LF.
std::string WriteProfileValue(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value);

}  // namespace kestro::platform
