#include "property/tree.h"

#include <algorithm>

namespace kestro::property {
namespace {

using testing::kDeleted;
using testing::kModified;
using testing::kNew;
using testing::kUrl;

constexpr char kSeparator = '\x01', kUrlMark = '\x02';
constexpr std::size_t kNameField = 256, kUrlField = 1024;

// What a record field keeps of a text: at most `field` bytes, never half a
// UTF-8 character.
std::string Cut(const std::string& text, std::size_t field) {
  if (text.size() <= field) return text;
  std::size_t n = field;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return text.substr(0, n);
}

std::string Fold(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

}  // namespace

Entry Favorite(int level, std::string name, std::string url) {
  return {level, false, std::move(name), std::move(url), testing::kFav};
}

Entry Folder(int level, std::string name) {
  return {level, true, std::move(name), "", testing::kDir};
}

std::size_t SubtreeEnd(const Tree& tree, std::size_t at) {
  std::size_t end = at + 1;
  while (end < tree.size() && tree[end].level > tree[at].level) ++end;
  return end;
}

bool Live(const Entry& e) { return !(e.status & kDeleted); }

std::vector<std::string> PlaceKeys(const Tree& tree) {
  std::vector<std::string> keys, folders;  // folders: the path of each open level
  for (const Entry& e : tree) {
    folders.resize(static_cast<std::size_t>(std::max(e.level, 0)));
    std::string path;
    for (const std::string& f : folders) path += f + kSeparator;
    const std::string own = Fold(Cut(e.name, kNameField));
    keys.push_back((e.folder ? "F" : "L") + path + own);
    if (e.folder) folders.push_back(own);
  }
  return keys;
}

std::string FavoriteKey(const std::string& place_key, const Entry& e) {
  return place_key + kUrlMark + Cut(e.url, kUrlField);
}

std::string ShowKey(const std::string& key) {
  const std::size_t url_at = key.find(kUrlMark);
  std::string path = "\\";
  for (char c : key.substr(1, url_at == std::string::npos ? std::string::npos : url_at - 1)) {
    path += c == kSeparator ? '\\' : c;
  }
  std::string shown = (key[0] == 'F' ? "folder " : "favourite ") + Quote(path);
  if (url_at != std::string::npos) shown += " " + Quote(key.substr(url_at + 1));
  return shown;
}

std::string Describe(const Tree& tree) {
  std::string out;
  for (const Entry& e : tree) {
    out += std::string(static_cast<std::size_t>(std::max(e.level, 0)) * 2, ' ');
    out += (e.folder ? "F " : "L ") + Quote(e.name);
    if (!e.url.empty() || !e.folder) out += (e.folder ? " was " : " ") + Quote(e.url);
    if (e.status & testing::kClosed) out += " [closed]";
    if (e.status & kNew) out += " [new]";
    if (e.status & kModified) out += " [modified]";
    if (e.status & kDeleted) out += " [deleted]";
    out += "\n";
  }
  return out;
}

Tree FromHandheld(const std::vector<testing::HandheldRecord>& records) {
  Tree tree;
  for (const auto& r : records)
    tree.push_back({r.level, !(r.status & kUrl), r.name, r.url, r.status});
  return tree;
}

std::vector<testing::HandheldRecord> ToHandheld(const Tree& tree) {
  std::vector<testing::HandheldRecord> records;
  for (const Entry& e : tree) records.push_back({e.name, e.level, e.status, e.url});
  return records;
}

}  // namespace kestro::property
