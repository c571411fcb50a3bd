// Where the stand-in host keeps its things. The core path holds the HotSync
// users' folders (KESTRO_HOTSYNC_HOME overrides it); the handheld folder holds
// the simulated handheld's databases (KESTRO_HANDHELD overrides it). Both end
// in the native separator and are created on first use by their callers.
#pragma once

#include <string>

namespace kestro::host {

// KESTRO_HOTSYNC_HOME, else %APPDATA%\Kestro HotSync on Windows and
// $XDG_DATA_HOME/kestro-hotsync (~/.local/share/kestro-hotsync) elsewhere.
std::string CorePath();
// KESTRO_HANDHELD, else the folder "Handheld" in the core path.
std::string HandheldFolder();
// a + separator + b, without doubling a separator a already ends in.
std::string JoinPath(const std::string& a, const std::string& b);
// The path with a separator at its end.
std::string WithSeparator(const std::string& path);

}  // namespace kestro::host
