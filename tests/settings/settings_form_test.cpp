// The settings dialog through the scripted face: what it shows, what Ok
// refuses and why, and that only a confirmed valid choice is stored.
#include "settings/settings_form.h"

#include <gtest/gtest.h>

#include "conduit/scripted_dialogs.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "settings/settings_registry.h"

namespace kestro {
namespace {

using testing::ScriptedDialogs;
using testing::TestEnvironment;

constexpr const char* kNoFolder = "Kestro|The folder you've selected does not exists. Please select an existing folder.";
constexpr const char* kNoFile =
    "Kestro|The Netscape bookmark file you've selected does not exists. Please select an existing Netscape bookmark "
    "file.";
constexpr const char* kNotValid =
    "Kestro|The Netscape bookmark file you've selected is not valid. Please select a valid Netscape bookmark file.";

class SettingsForm : public ::testing::Test {
 protected:
  SettingsForm() {
    auto key = platform::OpenCurrentUserKey("\\Software\\Netscape\\Netscape Navigator\\Main", true);
    key->Write("Install Directory", platform::StringValue(env_.Path("netscape")));
    key = platform::OpenCurrentUserKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true);
    key->Write("Favorites", platform::StringValue(env_.Path("Favorites")));
    platform::CreateDirectories(env_.Path("Favorites"));
    platform::CreateDirectories(env_.Path("netscape"));
    platform::WriteFileAtomically(env_.Path("bookmarks.htm"), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n");
    platform::WriteFileAtomically(env_.Path("lower.htm"), "<!doctype netscape-bookmark-file-1>\n");
  }
  // Stored settings, or "(none)".
  std::string Stored() {
    auto key = platform::OpenCurrentUserKey(kSettingsKey, false);
    if (!key || !key->Read(kFavoritesPathValue)) return "(none)";
    return std::to_string(ReadBrowserType()) + ":" + ReadFavoritesPath();
  }
  void StoreType(int32_t type) {
    platform::OpenCurrentUserKey(kSettingsKey, true)
        ->Write(kBrowserTypeValue, platform::DwordValue(static_cast<uint32_t>(type)));
  }

  TestEnvironment env_;
  ScriptedDialogs dialogs_{env_};
};

TEST_F(SettingsForm, NetscapeWithoutAPathOffersTheInstallFolderAndOkRefusesIt) {
  StoreType(1);
  dialogs_.Script({"ok browse ok", "choose " + env_.Path("bookmarks.htm")});
  TForm1 form;
  EXPECT_EQ(form.ShowModal(), platform::ModalResult::kOk);
  auto shown = dialogs_.Shown();
  ASSERT_EQ(shown.size(), 3u);  // shown, shown again after the refusal, the chooser
  EXPECT_EQ(shown[0], "settings|caption=Kestro Conduit configuration|item=1|label=Select the bookmark file "
                      "(bookmarks.htm):|text=" + env_.Path("netscape"));
  EXPECT_EQ(shown[2], "file|title=Select file|filter=Netscape Bookmark file (*.htm;*.html)|*.htm;*.html|name=" +
                          env_.Path("netscape"));
  EXPECT_EQ(env_.MessageBoxes(), std::vector<std::string>{kNoFile});
  EXPECT_EQ(Stored(), "1:" + env_.Path("bookmarks.htm"));
}

TEST_F(SettingsForm, SwitchingBrowserKeepsTheFolderAndOkRefusesItAsABookmarkFile) {
  dialogs_.Script({"select 1 ok cancel"});
  TForm1 form;
  EXPECT_EQ(form.ShowModal(), platform::ModalResult::kCancel);
  auto shown = dialogs_.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "settings|caption=Kestro Conduit configuration|item=0|label=Select the favorites folder:|text=" +
                          env_.Path("Favorites"));
  EXPECT_EQ(shown[1], "settings|caption=Kestro Conduit configuration|item=1|label=Select the bookmark file "
                      "(bookmarks.htm):|text=" + env_.Path("Favorites"));
  EXPECT_EQ(env_.MessageBoxes(), std::vector<std::string>{kNoFile});
  EXPECT_EQ(Stored(), "(none)");
}

TEST_F(SettingsForm, OkChecksTheChoiceForTheSelectedBrowser) {
  const struct {
    const char* name;
    int item;
    std::string path;
    const char* message;  // null: accepted
  } cases[] = {
      {"missing folder", 0, env_.Path("nowhere"), kNoFolder},
      {"file as folder", 0, env_.Path("bookmarks.htm"), kNoFolder},
      {"existing folder", 0, env_.Path("Favorites"), nullptr},
      {"folder as file", 1, env_.Path("Favorites"), kNoFile},
      {"lower-case document type", 1, env_.Path("lower.htm"), kNotValid},
      {"bookmark file", 1, env_.Path("bookmarks.htm"), nullptr},
      {"nothing selected", -1, "", nullptr},
  };
  for (const auto& c : cases) {
    TestEnvironment env;
    TForm1 form;
    form.FormShow();
    form.SetItemIndex(c.item);
    form.SetFldDirText(c.path);
    EXPECT_EQ(form.OkBtnClick(), c.message == nullptr) << c.name;
    if (c.message) {
      EXPECT_EQ(env.MessageBoxes(), std::vector<std::string>{c.message}) << c.name;
      EXPECT_EQ(Stored(), "(none)") << c.name;
    } else {
      EXPECT_TRUE(env.MessageBoxes().empty()) << c.name;
      auto key = platform::OpenCurrentUserKey(kSettingsKey, false);
      ASSERT_TRUE(key) << c.name;
      EXPECT_EQ(key->Read(kFavoritesPathValue)->data, c.path) << c.name;
      EXPECT_EQ(ReadBrowserType(), c.item) << c.name;
    }
  }
}

TEST_F(SettingsForm, StoredTypeOutsideTheItemsSelectsNothingOrNetscape) {
  const struct {
    int32_t stored;
    int item;
    const char* label;
  } cases[] = {{-5, -1, "Select the favorites folder:"}, {-1, -1, "Select the favorites folder:"},
               {0, 0, "Select the favorites folder:"}, {9, 1, "Select the bookmark file (bookmarks.htm):"}};
  for (auto c : cases) {
    StoreType(c.stored);
    TForm1 form;
    form.FormShow();
    EXPECT_EQ(form.ItemIndex(), c.item) << c.stored;
    EXPECT_EQ(form.LabelCaption(), c.label) << c.stored;
  }
}

TEST_F(SettingsForm, CancelAfterBrowsingStoresNothing) {
  dialogs_.Script({"browse cancel", "choose " + env_.Path("netscape")});
  TForm1 form;
  EXPECT_EQ(form.ShowModal(), platform::ModalResult::kCancel);
  EXPECT_EQ(form.FldDirText(), env_.Path("netscape")) << "the chosen folder was put in the box";
  EXPECT_EQ(dialogs_.Shown()[1], "folder|title=Select Directory|start=" + env_.Path("Favorites"));
  EXPECT_EQ(Stored(), "(none)");
}

TEST_F(SettingsForm, CancelledChooserKeepsTheBoxAndBrowseWithNothingSelectedShowsNothing) {
  dialogs_.Script({"browse select none browse ok", "cancel"});
  ShowSettings();
  auto shown = dialogs_.Shown();
  ASSERT_EQ(shown.size(), 2u) << "one chooser only";
  EXPECT_EQ(Stored(), "-1:" + env_.Path("Favorites"));
}

}  // namespace
}  // namespace kestro
