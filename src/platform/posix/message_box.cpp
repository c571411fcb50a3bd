#include "platform/message_box.h"

#include <cstdio>

namespace kestro::platform {

void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon) {
  if (RecordMessageBox(text, caption)) return;
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace kestro::platform
