// The settings dialog: which browser's favourites Kestro keeps in step and
// where they are. It writes "FavoritesPath" and "BrowserType" only when the
// user confirms a valid choice; an invalid one is refused with a message and
// the dialog stays open. One form serves one showing.
#pragma once

#include <string>

#include "platform/dialogs.h"

namespace kestro {

class TForm1 {
 public:
  TForm1();

  // The events of the dialog, as the face raises them.
  void FormShow();
  void RadioGroup2Click();
  void Button1Click();
  bool OkBtnClick();  // true when the dialog closes
  void CancelBtnClick() {}

  // FormShow, then the window modally; OK when the choice was stored.
  platform::ModalResult ShowModal();

  int ItemIndex() const { return controls_.item_index; }
  void SetItemIndex(int index);  // a user's click: selects and raises RadioGroup2Click
  const std::string& LabelCaption() const { return controls_.label; }
  const std::string& FldDirText() const { return controls_.edit_text; }
  void SetFldDirText(std::string text) { controls_.edit_text = std::move(text); }
  const platform::SettingsFormControls& Controls() const { return controls_; }
  platform::FileOpenRequest OpenDialog1() const;

 private:
  platform::SettingsFormControls controls_;
};

// Shows the settings dialog modally; the engine's "Settings ..." button.
void ShowSettings();

}  // namespace kestro
