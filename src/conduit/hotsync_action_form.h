// The HotSync action window: four actions (synchronise, desktop overwrites
// handheld, handheld overwrites desktop, do nothing) with their pictures, OK,
// Cancel, "Set as Default" and two optional buttons. The form holds the
// controls and the layout rule; the platform's face shows them. One form
// serves one showing.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "base/component.h"
#include "platform/dialogs.h"

namespace kestro {

using TNotifyEvent = std::function<void(Component* Sender)>;

// Index errors of ActionEnabled, on the dialog and on the form.
[[noreturn]] void RaiseActionIndexError();
void CheckActionIndex(int index);

class ThcdHotSyncActionForm : public Component {
 public:
  static constexpr int kActionCount = 4;

  ThcdHotSyncActionForm();

  bool ActionEnabled(int index) const;
  void SetActionEnabled(int index, bool enabled);  // enables the radio button

  // The radio buttons, in action order.
  bool Checked(int index) const { return controls_.actions.at(index).checked; }
  void Check(int index);     // -1 unchecks all
  int FirstChecked() const;  // -1 when none is checked
  bool SetAsDefaultChecked() const { return controls_.check_state; }

  void SetGroupCaption(const std::string& caption) { controls_.group_caption = caption; }
  const std::string& GroupCaption() const { return controls_.group_caption; }

  // Makes the data / about button visible with a caption and click handler;
  // the button itself is the handler's Sender.
  void ShowDataButton(const std::string& caption, TNotifyEvent on_click);
  void ShowAboutButton(const std::string& caption, TNotifyEvent on_click);

  // Puts the visible extra buttons on the group box's bottom edge, the data
  // button above the about button when both show.
  void ArrangeButtons();
  // ArrangeButtons, then shows the window modally; OK or Cancel.
  platform::ModalResult ShowModal();

  const platform::ActionFormControls& Controls() const { return controls_; }
  platform::ActionFormControls& Controls() { return controls_; }
  Component& BtnData() { return btn_data_; }
  Component& BtnAbout() { return btn_about_; }

 private:
  platform::ActionFormControls controls_;
  Component btn_data_;
  Component btn_about_;
};

}  // namespace kestro
