// The simulated handheld's folder: one .pdb file per database. A database is
// found by the name in its file's header, so a copy of a real handheld backup
// folder (whatever its files are called) works as a handheld; databases
// created here get a file name made safe from their name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestro::host {

// The file name a new database gets: characters a file name cannot hold
// (path separators, drive colons, control characters, ...) and '%' are
// written as %XX, so no database name can point outside the folder.
std::string FileNameFor(const std::string& db_name);

// The path of the file holding the named database (exact, case-kept name).
std::optional<std::string> FindDatabaseFile(const std::string& folder, const std::string& db_name);
// A free path for a new database of that name.
std::string NewDatabasePath(const std::string& folder, const std::string& db_name);

struct DatabaseListing {
  std::string path;
  std::string name;
  bool readable = false;
  std::string problem;  // why it cannot be opened
  uint32_t creator = 0;
  uint32_t type = 0;
  uint16_t attributes = 0;
  uint16_t version = 0;
  std::size_t records = 0;
};
// Every .pdb file of the folder, in directory order.
std::vector<DatabaseListing> ListDatabases(const std::string& folder);

}  // namespace kestro::host
