#include "settings/settings_form.h"

#include <functional>

#include "base/exception.h"
#include "base/text.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "settings/settings_registry.h"

namespace kestro {
namespace {

using platform::Rect;

constexpr const char* kFolderLabel = "Select the favorites folder:";
constexpr const char* kBookmarkLabel = "Select the bookmark file (bookmarks.htm):";

void Refuse(const char* text) {
  platform::ShowMessageBox(text, "Kestro", platform::MessageIcon::kNone);
}

// A Netscape bookmark file says so in its document type line.
bool IsNetscapeBookmarkFile(const std::string& path) {
  std::string text;
  if (!platform::ReadWholeFile(path, text))
    throw Exception(Format("Cannot open file %s", path.c_str()));
  return text.find("<!DOCTYPE NETSCAPE") != std::string::npos;
}

}  // namespace

TForm1::TForm1() {
  platform::SettingsFormControls& c = controls_;
  c.caption = "Kestro Conduit configuration";
  c.left = 311;
  c.top = 272;
  c.client_width = 335;
  c.client_height = 138;
  c.font = {"MS Sans Serif", 11};  // 8 points at 96 pixels per inch
  c.group_caption = "Select browser";
  c.group = Rect{8, 8, 321, 49};
  c.items = {"Internet explorer", "Netscape"};
  c.item_index = 0;
  c.label = kFolderLabel;
  c.label_rect = Rect{8, 64, 123, 13};
  c.edit = Rect{8, 80, 321, 21};
  c.browse = {"Browse ...", Rect{8, 104, 75, 25}, true,
              [this] { platform::ShowingFailure([this] { Button1Click(); }, "Kestro"); }};
  c.ok = {"Ok", Rect{176, 104, 75, 25}, true, nullptr};
  c.cancel = {"Cancel", Rect{256, 104, 75, 25}, true, [this] { CancelBtnClick(); }};
  c.on_item_click = [this] { RadioGroup2Click(); };
  c.on_ok = [this] { return OkBtnClick(); };
}

void TForm1::SetItemIndex(int index) {
  controls_.item_index = index;
  RadioGroup2Click();
}

void TForm1::FormShow() {
  controls_.edit_text = ReadFavoritesPath();
  const int32_t type = ReadBrowserType();
  // Below -1 selects nothing, above 1 the last item.
  const int index = type < -1 ? -1 : (type > 1 ? 1 : type);
  controls_.item_index = index;
  if (index == 1) RadioGroup2Click();
}

void TForm1::RadioGroup2Click() {
  if (controls_.item_index == 0) controls_.label = kFolderLabel;
  if (controls_.item_index == 1) controls_.label = kBookmarkLabel;
}

platform::FileOpenRequest TForm1::OpenDialog1() const {
  platform::FileOpenRequest request;
  request.title = "Select file";
  request.filter = "Netscape Bookmark file (*.htm;*.html)|*.htm;*.html";
  request.file_name = controls_.edit_text;
  return request;
}

void TForm1::Button1Click() {
  std::optional<std::string> chosen;
  if (controls_.item_index == 0) {
    chosen = platform::ChooseFolder("Select Directory", controls_.edit_text);
  } else if (controls_.item_index == 1) {
    chosen = platform::ChooseOpenFile(OpenDialog1());
  }
  if (chosen) controls_.edit_text = *chosen;
}

bool TForm1::OkBtnClick() {
  const std::string& text = controls_.edit_text;
  if (controls_.item_index == 0 && !platform::DirectoryExists(text)) {
    Refuse("The folder you've selected does not exists. Please select an existing folder.");
    return false;
  }
  if (controls_.item_index == 1) {
    if (!platform::FileExists(text)) {
      Refuse(
          "The Netscape bookmark file you've selected does not exists. Please select an existing "
          "Netscape bookmark "
          "file.");
      return false;
    }
    bool valid = false;
    try {
      valid = IsNetscapeBookmarkFile(text);
    } catch (const Exception& e) {
      platform::ShowMessageBox(e.Message(), "Kestro", platform::MessageIcon::kError);
      return false;
    }
    if (!valid) {
      Refuse(
          "The Netscape bookmark file you've selected is not valid. Please select a valid Netscape "
          "bookmark file.");
      return false;
    }
  }
  try {
    WriteSettings(text, controls_.item_index);
  } catch (const Exception& e) {
    platform::ShowMessageBox(e.Message(), "Kestro", platform::MessageIcon::kError);
    return false;
  }
  return true;
}

platform::ModalResult TForm1::ShowModal() {
  FormShow();
  return platform::ShowSettingsForm(controls_);
}

void ShowSettings() {
  TForm1 form;
  form.ShowModal();
}

}  // namespace kestro
