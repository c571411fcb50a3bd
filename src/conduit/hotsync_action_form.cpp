#include "conduit/hotsync_action_form.h"

#include "base/exception.h"
#include "platform/message_box.h"

namespace kestro {

using platform::Rect;

namespace {

void RunHandler(const TNotifyEvent& handler, Component* sender) {
  if (handler) platform::ShowingFailure([&] { handler(sender); }, "Error");
}

}  // namespace

void RaiseActionIndexError() { throw Exception("Invalid index to ActionEnabled property"); }

void CheckActionIndex(int index) {
  if (index < 0 || index >= ThcdHotSyncActionForm::kActionCount) RaiseActionIndexError();
}

ThcdHotSyncActionForm::ThcdHotSyncActionForm()
    : Component(nullptr), btn_data_(this), btn_about_(this) {
  SetName("hcdHotSyncActionForm");
  btn_data_.SetName("BtnData");
  btn_about_.SetName("BtnAbout");
  platform::ActionFormControls& c = controls_;
  c.caption = "Change HotSync Action";
  c.client_width = 409;
  c.client_height = 229;
  c.font = {"MS Sans Serif", 10};
  c.group_caption = "HotSync Action for ";
  c.group = Rect{12, 12, 288, 205};
  static const char* const kCaptions[kActionCount] = {"&Synchronise the files",
                                                      "&Desktop overwrites handheld",
                                                      "H&andheld overwites Desktop", "Do &nothing"};
  static const int kPictureTops[kActionCount] = {40, 82, 125, 167};
  static const int kRadioTops[kActionCount] = {43, 85, 128, 170};
  static const int kRadioHeights[kActionCount] = {14, 14, 13, 15};
  for (int i = 0; i < kActionCount; ++i) {
    c.actions[i].caption = kCaptions[i];
    c.actions[i].picture = Rect{16, kPictureTops[i], 44, 20};
    c.actions[i].radio = Rect{85, kRadioTops[i], 200, kRadioHeights[i]};
  }
  c.ok = {"OK", Rect{316, 20, 81, 21}, true, nullptr};
  c.cancel = {"Cancel", Rect{316, 46, 81, 21}, true, nullptr};
  c.data = {"Data settings", Rect{316, 170, 81, 21}, false, nullptr};
  c.about = {"About", Rect{316, 196, 81, 21}, false, nullptr};
  c.check_caption = "Set &as Default";
  c.check = Rect{309, 117, 92, 14};
  c.check_state = false;
}

bool ThcdHotSyncActionForm::ActionEnabled(int index) const {
  CheckActionIndex(index);
  return controls_.actions[index].enabled;
}

void ThcdHotSyncActionForm::SetActionEnabled(int index, bool enabled) {
  CheckActionIndex(index);
  controls_.actions[index].enabled = enabled;
}

void ThcdHotSyncActionForm::Check(int index) {
  for (int i = 0; i < kActionCount; ++i) controls_.actions[i].checked = (i == index);
}

int ThcdHotSyncActionForm::FirstChecked() const {
  for (int i = 0; i < kActionCount; ++i) {
    if (controls_.actions[i].checked) return i;
  }
  return -1;
}

void ThcdHotSyncActionForm::ShowDataButton(const std::string& caption, TNotifyEvent on_click) {
  controls_.data.caption = caption;
  controls_.data.visible = true;
  controls_.data.on_click = [this, on_click] { RunHandler(on_click, &btn_data_); };
}

void ThcdHotSyncActionForm::ShowAboutButton(const std::string& caption, TNotifyEvent on_click) {
  controls_.about.caption = caption;
  controls_.about.visible = true;
  controls_.about.on_click = [this, on_click] { RunHandler(on_click, &btn_about_); };
}

void ThcdHotSyncActionForm::ArrangeButtons() {
  const int edge = controls_.group.Bottom();
  Rect& data = controls_.data.rect;
  Rect& about = controls_.about.rect;
  if (controls_.data.visible && controls_.about.visible) {
    about.top = edge - about.height;
    data.top = about.top - data.height - 6;
  } else if (controls_.data.visible) {
    data.top = edge - data.height;
  } else if (controls_.about.visible) {
    about.top = edge - about.height;
  }
}

platform::ModalResult ThcdHotSyncActionForm::ShowModal() {
  ArrangeButtons();
  return platform::ShowActionForm(controls_);
}

}  // namespace kestro
