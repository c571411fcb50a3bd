#include "platform/message_box.h"

#include <cstdio>

#include "base/exception.h"
#include "platform/environment.h"

namespace kestro::platform {

bool RecordMessageBox(const std::string& text, const std::string& caption) {
  auto log = GetEnv("KESTRO_MESSAGE_LOG");
  if (!log || log->empty()) return false;
  if (std::FILE* f = std::fopen(log->c_str(), "ab")) {
    std::fprintf(f, "%s|%s\n", caption.c_str(), text.c_str());
    std::fclose(f);
  }
  return true;
}

void ShowingFailure(const std::function<void()>& action, const std::string& caption) {
  try {
    action();
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    ShowMessageBox(MessageOf(e), caption, MessageIcon::kError);
  }
}

}  // namespace kestro::platform
