// The HotSync action dialog: the settings and results of choosing what the
// next HotSync does. Execute shows a fresh ThcdHotSyncActionForm each time and
// answers true only when the user confirmed with OK; only then do ActionIndex
// (the first checked action, or -1) and SetAsDefault change.
#pragma once

#include <array>
#include <string>

#include "base/component.h"
#include "conduit/hotsync_action_form.h"

namespace kestro {

class ThcdHotSyncActionDialog : public Component {
 public:
  explicit ThcdHotSyncActionDialog(Component* owner = nullptr);

  const std::string& ConduitName() const { return conduit_name_; }
  void SetConduitName(std::string v) { conduit_name_ = std::move(v); }
  int ActionIndex() const { return action_index_; }
  void SetActionIndex(int v) { action_index_ = v; }
  // Index outside 0..3 raises "Invalid index to ActionEnabled property".
  bool ActionEnabled(int index) const;
  void SetActionEnabled(int index, bool enabled);
  bool SetAsDefault() const { return set_as_default_; }
  const std::string& BtnDataCaption() const { return btn_data_caption_; }
  void SetBtnDataCaption(std::string v) { btn_data_caption_ = std::move(v); }
  const std::string& BtnAboutCaption() const { return btn_about_caption_; }
  void SetBtnAboutCaption(std::string v) { btn_about_caption_ = std::move(v); }

  TNotifyEvent OnBtnDataClick;
  TNotifyEvent OnBtnAboutClick;

  bool Execute();

 private:
  std::string conduit_name_;
  int action_index_ = 0;
  std::array<bool, ThcdHotSyncActionForm::kActionCount> action_enabled_{true, true, true, true};
  bool set_as_default_ = false;
  std::string btn_data_caption_ = "Data settings";
  std::string btn_about_caption_ = "About";
};

}  // namespace kestro
