#include "perl_tools.h"

#include <cstdio>
#include <cstdlib>
#include <regex>

namespace kestro::testing {
namespace {

std::string Tool(const char* name) { return std::string(KESTRO_SOURCE_DIR) + "/tests/host/tools/" + name; }

int Run(const std::string& command, std::string* output) {
#if defined(_WIN32)
  (void)command;
  (void)output;
  return -1;
#else
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
    if (output) output->append(buf, n);
  }
  int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

}  // namespace

bool PerlToolsAvailable() {
  static const bool available = Run("perl -MPalm::PDB -MPalm::Raw -MJSON::PP -e 1 2>/dev/null", nullptr) == 0;
  return available;
}

std::string Hex(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

Dump PdbDump(const std::string& path) {
  Dump dump;
  dump.exit_code = Run("perl '" + Tool("pdbdump.pl") + "' --strict '" + path + "' 2>&1", &dump.text);
  static const std::regex header(R"re(^  "(\w+)": (.*?),?$)re");
  static const std::regex record(
      R"re("uniqueID": (\d+), "attributes": (\d+), "category": (\d+),.*"data": "([0-9a-f]*)")re");
  std::size_t start = 0;
  while (start < dump.text.size()) {
    std::size_t end = dump.text.find('\n', start);
    if (end == std::string::npos) end = dump.text.size();
    std::string line = dump.text.substr(start, end - start);
    std::smatch m;
    if (std::regex_search(line, m, record)) {
      dump.records.push_back({std::stoll(m[1]), std::stoi(m[2]), std::stoi(m[3]), Unhex(m[4])});
    } else if (std::regex_match(line, m, header)) {
      dump.header[m[1]] = m[2];
    }
    start = end + 1;
  }
  return dump;
}

int PdbMake(const std::string& json_path, const std::string& pdb_path) {
  std::string output;
  return Run("perl '" + Tool("pdbmake.pl") + "' '" + json_path + "' '" + pdb_path + "' 2>&1", &output);
}

}  // namespace kestro::testing
