// The Perl reader and writer of .pdb files (tests/host/tools), run as an
// outside check of the files the simulated handheld writes and reads. Tests
// skip when Perl or its Palm::PDB module is missing (and on Windows builds).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestro::testing {

// True when perl with Palm::PDB can run here.
bool PerlToolsAvailable();

struct DumpedRecord {
  int64_t id = -1;
  int attributes = -1;
  int category = -1;
  std::string data;  // bytes, decoded from the dump's hex
};
struct Dump {
  int exit_code = -1;
  std::map<std::string, std::string> header;  // top-level "key": value, as printed
  std::vector<DumpedRecord> records;
  std::string text;
};
// Runs pdbdump.pl --strict on a file.
Dump PdbDump(const std::string& path);
// Runs pdbmake.pl on a JSON description; its exit code.
int PdbMake(const std::string& json_path, const std::string& pdb_path);

std::string Hex(const std::string& bytes);

}  // namespace kestro::testing
