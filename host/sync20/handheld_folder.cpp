#include "handheld_folder.h"

#include <fstream>
#include <memory>

#include "base/text.h"
#include "handheld_database.h"
#include "host_paths.h"
#include "platform/file_system.h"

namespace kestro::host {
namespace {

std::optional<std::string> NameInFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[32];
  if (!in.read(head, sizeof head)) return std::nullopt;
  return PdbNameOf(std::string_view(head, sizeof head));
}

bool IsDatabaseFile(const platform::DirectoryEntry& e) {
  return !e.is_directory && EndsWith(AsciiUpper(e.name), ".PDB");
}

}  // namespace

std::string FileNameFor(const std::string& db_name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : db_name) {
    unsigned char c = static_cast<unsigned char>(ch);
    bool plain = c >= 0x20 && c < 0x7F && std::string_view("\\/:*?\"<>|%").find(ch) == std::string_view::npos;
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  // Names made of dots alone ("." or "..") and trailing dots or blanks, which
  // Windows drops, would not name a file of their own.
  if (!out.empty() && (out.back() == '.' || out.back() == ' ')) {
    char last = out.back();
    out.pop_back();
    out += '%';
    out += kHex[static_cast<unsigned char>(last) >> 4];
    out += kHex[static_cast<unsigned char>(last) & 15];
  }
  return out + ".pdb";
}

std::optional<std::string> FindDatabaseFile(const std::string& folder, const std::string& db_name) {
  std::string direct = JoinPath(folder, FileNameFor(db_name));
  if (platform::FileExists(direct) && NameInFile(direct) == db_name) return direct;
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(folder, entries)) return std::nullopt;
  for (const auto& e : entries) {
    if (!IsDatabaseFile(e)) continue;
    std::string path = JoinPath(folder, e.name);
    if (NameInFile(path) == db_name) return path;
  }
  return std::nullopt;
}

std::string NewDatabasePath(const std::string& folder, const std::string& db_name) {
  std::string base = FileNameFor(db_name);
  base.resize(base.size() - 4);
  std::string path = JoinPath(folder, base + ".pdb");
  // A file of another database may already hold the name (names differing
  // only in case on a case-blind file system).
  for (int n = 2; platform::PathExists(path); ++n) path = JoinPath(folder, base + "~" + std::to_string(n) + ".pdb");
  return path;
}

std::vector<DatabaseListing> ListDatabases(const std::string& folder) {
  std::vector<DatabaseListing> list;
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(folder, entries)) return list;
  for (const auto& e : entries) {
    if (!IsDatabaseFile(e)) continue;
    DatabaseListing item;
    item.path = JoinPath(folder, e.name);
    std::unique_ptr<HandheldDatabase> db;
    std::string why;
    int32_t result = HandheldDatabase::Open(item.path, db, &why);
    if (result == 0) {
      const PdbDatabase& c = db->Contents();
      item.readable = true;
      item.name = c.name;
      item.creator = c.creator;
      item.type = c.type;
      item.attributes = c.attributes;
      item.version = c.version;
      item.records = c.records.size();
    } else {
      item.name = NameInFile(item.path).value_or(e.name);
      item.problem = why.empty() ? "cannot be read" : why;
    }
    list.push_back(std::move(item));
  }
  return list;
}

}  // namespace kestro::host
