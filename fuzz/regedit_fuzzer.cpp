// The registry file (REGEDIT4 text): any bytes read without fault, and a
// change to one key rewrites the file with every other value's type and
// bytes kept.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "fuzz_support.h"
#include "platform/reg_file.h"

namespace {

using kestro::platform::OpenFileRegistryKey;
using kestro::platform::RegValue;

struct Seen {
  std::string key;
  std::string name;
  std::optional<RegValue> value;
};

// The keys the text names, as "[HKEY_CURRENT_USER\...]" lines give them.
std::vector<std::string> KeyPaths(std::string_view text) {
  std::vector<std::string> paths;
  const std::string_view root = "[HKEY_CURRENT_USER\\";
  for (std::size_t at = text.find(root); at != std::string_view::npos && paths.size() < 16;
       at = text.find(root, at + 1)) {
    const std::size_t end = text.find_first_of("]\r\n", at);
    if (end == std::string_view::npos || text[end] != ']') continue;
    std::string path(text.substr(at + root.size(), end - at - root.size()));
    // The probe's own key changes by design.
    if (kestro::AsciiUpper(path).find("KESTRO FUZZ PROBE") == std::string::npos) {
      paths.push_back(std::move(path));
    }
  }
  return paths;
}

std::vector<Seen> ReadAll(const std::string& file, const std::vector<std::string>& paths) {
  std::vector<Seen> seen;
  for (const std::string& path : paths) {
    auto key = OpenFileRegistryKey(file, path, false);
    if (!key) continue;
    for (const std::string& name : key->ValueNames()) seen.push_back({path, name, key->Read(name)});
    key->SubKeyNames();
  }
  return seen;
}

bool Same(const std::vector<Seen>& a, const std::vector<Seen>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].value.has_value() != b[i].value.has_value()) return false;
    if (a[i].value &&
        (a[i].value->type != b[i].value->type || a[i].value->data != b[i].value->data)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string file = kestro::fuzz::ScratchFile("registry.reg");
  const std::string_view text = kestro::fuzz::Bytes(data, size);
  kestro::fuzz::WriteScratch(file, text);
  const std::vector<std::string> paths = KeyPaths(text);
  const std::vector<Seen> before = ReadAll(file, paths);
  auto probe = OpenFileRegistryKey(file, "Software\\Kestro fuzz probe", true);
  if (!probe || !probe->Write("probe", kestro::platform::StringValue("x"))) return 0;
  if (!Same(before, ReadAll(file, paths))) std::abort();
  return 0;
}
