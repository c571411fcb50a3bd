#include "favorites_tree.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "base/text.h"

namespace kestro::hotsync {

std::optional<Favorite> DecodeFavorite(const std::string& data) {
  std::size_t name_end = data.find('\0');
  if (name_end == std::string::npos || data.size() < name_end + 1 + 7 + 1) return std::nullopt;
  Favorite f;
  f.name = data.substr(0, name_end);
  std::size_t at = name_end + 1;
  auto byte = [&](std::size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(data[at + i])); };
  f.parent = static_cast<int32_t>((byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3));
  f.level = static_cast<uint16_t>((byte(4) << 8) | byte(5));
  f.status = static_cast<uint8_t>(byte(6));
  std::size_t url_start = at + 7;
  std::size_t url_end = data.find('\0', url_start);
  if (url_end == std::string::npos) return std::nullopt;
  f.url = data.substr(url_start, url_end - url_start);
  return f;
}

std::string StatusNames(uint8_t status) {
  static const char* const kNames[] = {"url", "closed", "visible", "new", "deleted", "modified"};
  std::string out;
  for (int bit = 0; bit < 6; ++bit) {
    if (status & (1 << bit)) out += (out.empty() ? "" : " ") + std::string(kNames[bit]);
  }
  return out.empty() ? "-" : out;
}

std::vector<std::string> FavoritesTree(const std::vector<host::PdbRecord>& records) {
  std::vector<std::optional<Favorite>> decoded;
  std::map<uint32_t, std::size_t> index_of;
  for (std::size_t i = 0; i < records.size(); ++i) {
    decoded.push_back(DecodeFavorite(records[i].data));
    index_of.emplace(records[i].id, i);
  }
  // Children in record order, under their folder's ID (0 for the top).
  std::map<uint32_t, std::vector<std::size_t>> children;
  std::vector<std::size_t> apart;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!decoded[i]) {
      apart.push_back(i);
      continue;
    }
    uint32_t parent = static_cast<uint32_t>(decoded[i]->parent);
    if (parent != 0 && !index_of.count(parent)) {
      apart.push_back(i);
      continue;
    }
    children[parent].push_back(i);
  }
  std::vector<std::string> lines;
  std::set<std::size_t> shown;
  auto line_of = [&](std::size_t i, int depth) {
    const host::PdbRecord& r = records[i];
    std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    std::string attrs;
    if (r.attributes & host::kRecDelete) attrs += " deleted-record";
    if (r.attributes & host::kRecDirty) attrs += " dirty";
    if (!decoded[i]) {
      return indent + Format("? record %u is not a favourite record (%u bytes) [id %u%s]", static_cast<unsigned>(i),
                             static_cast<unsigned>(r.data.size()), r.id,
                             attrs.c_str());
    }
    const Favorite& f = *decoded[i];
    bool is_url = f.status & 1;
    std::string head = is_url ? "- " + f.name + "  <" + f.url + ">" : "+ " + f.name + "/";
    return indent + head +
           Format("  [id %u, parent %d, level %u, status %s%s]", r.id, f.parent, f.level, StatusNames(f.status).c_str(),
                  attrs.c_str());
  };
  std::function<void(uint32_t, int)> walk = [&](uint32_t parent, int depth) {
    auto it = children.find(parent);
    if (it == children.end()) return;
    for (std::size_t i : it->second) {
      if (!shown.insert(i).second) continue;  // a folder that is its own ancestor
      lines.push_back(line_of(i, depth));
      if (records[i].id != 0) walk(records[i].id, depth + 1);
    }
  };
  walk(0, 0);
  // Records inside a loop of folders are never reached from the top.
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (decoded[i] && !shown.count(i) &&
        std::find(apart.begin(), apart.end(), i) == apart.end())
      apart.push_back(i);
  }
  if (!apart.empty()) {
    lines.push_back("Records outside the tree:");
    for (std::size_t i : apart) {
      if (shown.insert(i).second) lines.push_back(line_of(i, 1));
    }
  }
  return lines;
}

}  // namespace kestro::hotsync
