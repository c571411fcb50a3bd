#include "conduit/hotsync_action_dialog.h"

namespace kestro {
namespace {

// Empty, or nothing but blanks and control characters.
bool Blank(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace

ThcdHotSyncActionDialog::ThcdHotSyncActionDialog(Component* owner) : Component(owner) {}

bool ThcdHotSyncActionDialog::ActionEnabled(int index) const {
  CheckActionIndex(index);
  return action_enabled_[index];
}

void ThcdHotSyncActionDialog::SetActionEnabled(int index, bool enabled) {
  CheckActionIndex(index);
  action_enabled_[index] = enabled;
}

bool ThcdHotSyncActionDialog::Execute() {
  // The form lives for this showing only, and goes also when a handler throws.
  ThcdHotSyncActionForm form;
  for (int i = 0; i < ThcdHotSyncActionForm::kActionCount; ++i) form.SetActionEnabled(i, action_enabled_[i]);

  CheckActionIndex(action_index_);
  if (form.ActionEnabled(action_index_)) {
    form.Check(action_index_);
  } else {
    int first = -1;
    for (int i = 0; i < ThcdHotSyncActionForm::kActionCount && first < 0; ++i) {
      if (form.ActionEnabled(i)) first = i;
    }
    form.Check(first);
  }

  form.SetGroupCaption("HotSync Action for " + (conduit_name_.empty() ? std::string("Untitled") : conduit_name_));
  if (OnBtnDataClick) {
    form.ShowDataButton(Blank(btn_data_caption_) ? "Data settings" : btn_data_caption_, OnBtnDataClick);
  }
  if (OnBtnAboutClick) {
    form.ShowAboutButton(Blank(btn_about_caption_) ? "About" : btn_about_caption_, OnBtnAboutClick);
  }

  if (form.ShowModal() != platform::ModalResult::kOk) return false;
  action_index_ = form.FirstChecked();
  set_as_default_ = form.SetAsDefaultChecked();
  return true;
}

}  // namespace kestro
