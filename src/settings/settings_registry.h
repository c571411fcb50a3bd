// The two settings that choose the desktop store: the browser type and the
// favourites location, kept under HKEY_CURRENT_USER\Software\Kestro. The reads
// go to the registry every time, fall back to the browsers' own entries when
// no location is stored, and never write a default back. A value of the wrong
// type raises Exception "Invalid data type for '<name>'".
#pragma once

#include <cstdint>
#include <string>

namespace kestro {

inline constexpr const char* kSettingsKey = "\\Software\\Kestro";
inline constexpr const char* kFavoritesPathValue = "FavoritesPath";
inline constexpr const char* kBrowserTypeValue = "BrowserType";

// 0 Internet Explorer, 1 Netscape (the dialog also stores -1 for none).
inline constexpr int32_t kBrowserIE = 0;
inline constexpr int32_t kBrowserNetscape = 1;

// The stored "BrowserType", or 0 when it or the key is missing.
int32_t ReadBrowserType();
// The stored "FavoritesPath", or, when it is missing or empty, the default of
// the browser type in force (which may be empty).
std::string ReadFavoritesPath();

// How much of either side's favourites one run may delete, in percent: a
// run that would delete more (and at least 20) stops before it changes
// anything; 100 switches the check off. "MassDeletionLimit", default 50.
inline constexpr const char* kMassDeletionLimitValue = "MassDeletionLimit";
inline constexpr int32_t kDefaultMassDeletionLimit = 50;
int32_t ReadMassDeletionLimit();
// How many runs' backups of the desktop are kept. "BackupCount", default 10.
inline constexpr const char* kBackupCountValue = "BackupCount";
inline constexpr int32_t kDefaultBackupCount = 10;
int32_t ReadBackupCount();

// Writes both settings, as the confirmed settings dialog does. Returns false,
// writing nothing, when the key cannot be opened; a failed write raises
// Exception "Failed to set data for '<name>'".
bool WriteSettings(const std::string& favorites_path, int32_t browser_type);

}  // namespace kestro
