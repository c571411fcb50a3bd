#include "platform/message_box.h"

#include "platform/win32/compat.h"

namespace kestro::platform {

void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
  if (RecordMessageBox(text, caption)) return;
  UINT flags = MB_OK;
  switch (icon) {
    case MessageIcon::kError: flags |= MB_ICONERROR; break;
    case MessageIcon::kWarning: flags |= MB_ICONWARNING; break;
    case MessageIcon::kInformation: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::kNone: break;
  }
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

}  // namespace kestro::platform
