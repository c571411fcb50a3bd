// The HotSync action dialog through the scripted face: preselection, the
// results of OK and of the ways to cancel, captions and the extra buttons'
// layout.
#include "conduit/hotsync_action_dialog.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "conduit/scripted_dialogs.h"

namespace kestro {
namespace {

using testing::ScriptedDialogs;
using testing::TestEnvironment;

class ActionDialog : public ::testing::Test {
 protected:
  TestEnvironment env_;
  ScriptedDialogs dialogs_{env_};
  ThcdHotSyncActionDialog dialog_;

  // The field "name=" of the last showing.
  std::string Shown(const std::string& name) {
    auto lines = dialogs_.Shown();
    if (lines.empty()) return "(nothing shown)";
    const std::string& line = lines.back();
    std::size_t at = line.find("|" + name + "=");
    if (at == std::string::npos) return "(no " + name + ")";
    at += name.size() + 2;
    return line.substr(at, line.find('|', at) - at);
  }
};

TEST_F(ActionDialog, PreselectsTheFirstEnabledActionWhenTheAskedOneIsDisabled) {
  dialog_.SetActionIndex(1);
  dialog_.SetActionEnabled(1, false);
  dialogs_.Script({"ok"});
  ASSERT_TRUE(dialog_.Execute());
  EXPECT_EQ(Shown("enabled"), "1011");
  EXPECT_EQ(Shown("checked"), "1000");
  EXPECT_EQ(dialog_.ActionIndex(), 0);

  dialog_.SetActionIndex(1);
  dialog_.SetActionEnabled(0, false);
  dialogs_.Script({"check 1 cancel"});  // a disabled action cannot be clicked
  EXPECT_FALSE(dialog_.Execute());
  EXPECT_EQ(Shown("checked"), "0010");
}

TEST_F(ActionDialog, NoActionEnabledGivesMinusOneAndTheNextShowingFails) {
  for (int i = 0; i < 4; ++i) dialog_.SetActionEnabled(i, false);
  dialogs_.Script({"ok"});
  ASSERT_TRUE(dialog_.Execute());
  EXPECT_EQ(Shown("checked"), "0000");
  EXPECT_EQ(dialog_.ActionIndex(), -1);
  try {
    dialog_.Execute();
    FAIL() << "an ActionIndex of -1 was shown";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid index to ActionEnabled property");
  }
  EXPECT_EQ(dialogs_.Shown().size(), 1u) << "the window must not open for a bad index";
}

TEST_F(ActionDialog, ActionEnabledRefusesIndexesOutsideTheFourActions) {
  for (int index : {-1, 4}) {
    EXPECT_THROW(dialog_.SetActionEnabled(index, true), Exception) << index;
    EXPECT_THROW((void)dialog_.ActionEnabled(index), Exception) << index;
  }
  ThcdHotSyncActionForm form;
  EXPECT_THROW(form.SetActionEnabled(4, false), Exception);
}

TEST_F(ActionDialog, OkTakesTheChoiceAndEveryOtherWayOutKeepsTheOldResults) {
  dialogs_.Script({"check 3 default on ok"});
  ASSERT_TRUE(dialog_.Execute());
  EXPECT_EQ(dialog_.ActionIndex(), 3);
  EXPECT_TRUE(dialog_.SetAsDefault());

  for (const char* way_out : {"cancel", "escape", "close", "", "check 2"}) {
    dialogs_.Script({std::string("check 1 default off ") + way_out});
    EXPECT_FALSE(dialog_.Execute()) << way_out;
    EXPECT_EQ(Shown("default"), "0") << "the check box opens unticked each time";
    EXPECT_EQ(Shown("checked"), "0001");
    EXPECT_EQ(dialog_.ActionIndex(), 3) << way_out;
    EXPECT_TRUE(dialog_.SetAsDefault()) << way_out;
  }
}

TEST_F(ActionDialog, GroupCaptionNamesTheConduitOrUntitled) {
  dialogs_.Script({"cancel", "cancel"});
  dialog_.Execute();
  EXPECT_EQ(Shown("group"), "HotSync Action for Untitled");
  EXPECT_EQ(Shown("caption"), "Change HotSync Action");
  dialog_.SetConduitName("Kestro");
  dialog_.Execute();
  EXPECT_EQ(Shown("group"), "HotSync Action for Kestro");
}

TEST_F(ActionDialog, ExtraButtonsSitOnTheGroupBoxBottomEdge) {
  struct Case {
    bool data, about;
    const char* data_shown;
    const char* about_shown;
  } cases[] = {
      {false, false, "-", "-"},
      {true, false, "Data settings@316,196", "-"},             // 12 + 205 - 21
      {false, true, "-", "About@316,196"},
      {true, true, "Data settings@316,169", "About@316,196"},  // 196 - 21 - 6
  };
  for (const Case& c : cases) {
    ThcdHotSyncActionDialog dialog;
    if (c.data) dialog.OnBtnDataClick = [](Component*) {};
    if (c.about) dialog.OnBtnAboutClick = [](Component*) {};
    dialogs_.Script({"cancel"});
    dialog.Execute();
    EXPECT_EQ(Shown("data"), c.data_shown) << c.data << c.about;
    EXPECT_EQ(Shown("about"), c.about_shown) << c.data << c.about;
  }
}

TEST_F(ActionDialog, BlankCaptionsFallBackToTheDefaults) {
  dialog_.OnBtnDataClick = [](Component*) {};
  dialog_.OnBtnAboutClick = [](Component*) {};
  dialog_.SetBtnDataCaption("   ");
  dialog_.SetBtnAboutCaption("");
  dialogs_.Script({"cancel"});
  dialog_.Execute();
  EXPECT_EQ(Shown("data"), "Data settings@316,169");
  EXPECT_EQ(Shown("about"), "About@316,196");
}

TEST_F(ActionDialog, ExtraButtonsRunTheirHandlersAndLeaveTheWindowOpen) {
  std::vector<std::string> clicks;
  dialog_.OnBtnDataClick = [&](Component* sender) { clicks.push_back("data:" + sender->Name()); };
  dialog_.OnBtnAboutClick = [&](Component* sender) {
    clicks.push_back("about:" + sender->Name());
    throw Exception("about failed");  // shown, and the window stays open
  };
  dialogs_.Script({"check 2 data about data check 3 ok"});
  ASSERT_TRUE(dialog_.Execute());
  EXPECT_EQ(dialog_.ActionIndex(), 3);
  EXPECT_EQ(clicks, (std::vector<std::string>{"data:BtnData", "about:BtnAbout", "data:BtnData"}));
  EXPECT_EQ(env_.MessageBoxes(), std::vector<std::string>{"Error|about failed"});
}

}  // namespace
}  // namespace kestro
