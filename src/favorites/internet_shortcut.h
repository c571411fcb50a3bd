// An Internet Shortcut file (".url"): an INI-style text whose
// [InternetShortcut] section holds the address. Reading and writing go through
// the platform's profile strings, so other lines of an existing file stay.
#pragma once

#include <string>

namespace kestro {

// The address in the file; empty when the file or the key is absent.
std::string ReadShortcutURL(const std::string& file);
// Writes the address as BASEURL of [DEFAULT] and then as URL of
// [InternetShortcut], creating the file when needed, in one replacement of
// the file. Raises "Unable to write to <file>" when the file cannot be
// written; the file is then as it was.
void WriteShortcut(const std::string& file, const std::string& url);
// Replaces the file in one step by a new shortcut holding only the address,
// as a file deleted and written again would be; raises as WriteShortcut.
void ReplaceShortcut(const std::string& file, const std::string& url);
// Writes a new shortcut holding only the address, whole, never over an entry
// already of that name: false then, with nothing written. Raises as
// WriteShortcut when it cannot be written.
bool WriteNewShortcut(const std::string& file, const std::string& url);

}  // namespace kestro
