// The favourites database of the handheld shown as a tree: each record is
// Name NUL, Parent (4 bytes, big-endian record ID of its folder, 0 at the
// top), Level (2 bytes), Status (1 byte: url, closed, visible, new, deleted,
// modified) and URL NUL. Records that do not decode, or whose folder is not
// there, are listed apart rather than dropped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pdb_file.h"

namespace kestro::hotsync {

struct Favorite {
  std::string name;
  int32_t parent = 0;
  uint16_t level = 0;
  uint8_t status = 0;
  std::string url;
};

std::optional<Favorite> DecodeFavorite(const std::string& data);
// "url visible new ..." for a status byte.
std::string StatusNames(uint8_t status);
// The printable tree, one line per record.
std::vector<std::string> FavoritesTree(const std::vector<host::PdbRecord>& records);

}  // namespace kestro::hotsync
