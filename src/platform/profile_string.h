// Profile strings: one value under a section and a key of an INI-style text
// file (an Internet Shortcut is one). Section and key names match without
// regard to case, a value read is at most 2047 characters, writing creates the
// file or replaces the key's value and keeps every other line, and a new file
// gets its sections in the order they were written. A write replaces the
// whole file at once, so it is never left half-written. Failures are results.
#pragma once

#include <string>
#include <vector>

namespace kestro::platform {

constexpr std::size_t kProfileValueMax = 2047;

// The value, or fallback when the file, the section or the key is absent.
std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback);
struct ProfileValue {
  std::string section;
  std::string key;
  std::string value;
};
// Sets the values in order, in one replacement of the file: it then holds
// all of them, or, when the write fails, it is as it was. False when the file
// cannot be written (for example its folder is missing).
bool WriteProfileStrings(const std::string& file, const std::vector<ProfileValue>& values);
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace kestro::platform
