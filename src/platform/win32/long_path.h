// Windows refuses a path of MAX_PATH characters or more through its ANSI
// calls, even where every name in it is short enough: a favourite deep in
// folders, with a long title, would then be neither written nor read. The
// wide calls take a path of up to 32,767 characters when it is given as an
// extended one ("\\?\C:\..." or "\\?\UNC\server\share\..."); such a path is
// used as it stands, so it is made absolute and separated by '\' first.
// Shorter paths keep their usual form, so they behave exactly as before.
#pragma once

#include <string>

#include "platform/win32/compat.h"

namespace kestro::platform {

// Our paths hold the ANSI code page's text, as the ANSI calls take it.
std::wstring WideText(const std::string& text);
std::string NarrowText(const wchar_t* text, int length = -1);

// The path to give a wide call: extended when it is long.
std::wstring WidePath(const std::string& path);
// True when the path to give a wide call is extended ("\\?\...").
bool IsLongPath(const std::string& path);

}  // namespace kestro::platform
