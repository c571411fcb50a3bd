// Profile strings (".url" files): any text reads without fault, and a value
// written into it reads back as written while the other keys keep theirs.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "platform/profile_text.h"

namespace {

std::string Read(std::string_view text, const char* section, const char* key) {
  std::string value;
  return kestro::platform::ReadProfileValue(text, section, key, value) ? value : "<absent>";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kestro::platform::WriteProfileValue;
  const std::string_view text = kestro::fuzz::Bytes(data, size);
  const std::string base_url = Read(text, "DEFAULT", "BASEURL");
  std::string written = WriteProfileValue(text, "InternetShortcut", "URL", "http://example.com/");
  if (Read(written, "InternetShortcut", "URL") != "http://example.com/") std::abort();
  // A section the write did not name is left as it was.
  if (Read(written, "DEFAULT", "BASEURL") != base_url) std::abort();
  written = WriteProfileValue(written, "DEFAULT", "BASEURL", "http://example.com/");
  if (Read(written, "InternetShortcut", "URL") != "http://example.com/") std::abort();
  return 0;
}
