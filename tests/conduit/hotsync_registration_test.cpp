// The real conduit library through the hotsync program: a HotSync of the
// bundled samples that must end with a clean exit in every build (an
// optimised build once crashed at exit after finishing its work),
// self-registration with the stand-in Conduit Manager (and its failure on
// cue), unregistration with the users' conduit folders, and configuration
// with a scripted user going through both dialogs.
#include <gtest/gtest.h>

#include <filesystem>

#include "conduit/scripted_dialogs.h"
#include "host/run_program.h"
#include "palmdb/sync_errors.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "settings/settings_registry.h"
#include "support/test_environment.h"

namespace kestro::testing {
namespace {

#if defined(_WIN32)
const char* const kConduit = "Kestro.dll";
const char* const kHotsync = "hotsync.exe";
#else
const char* const kConduit = "Kestro.so";
const char* const kHotsync = "hotsync";
#endif

class HotsyncConduit : public ::testing::Test {
 protected:
  ProgramRun Run(const std::vector<std::string>& args) {
    return RunProgram(BinFolder() + kHotsync, args);
  }
  // The Conduit Manager calls journalled so far, by name ("(fault)" marked).
  std::vector<std::string> ConduitManagerCalls() {
    std::vector<std::string> names;
    for (const auto& call : env_.HostCalls()) {
      if (call.function.rfind("CmSet", 0) == 0 || call.function == "CmInstallCreator") {
        names.push_back(call.function + (call.out == "(fault)" ? "!" : ""));
      }
    }
    return names;
  }
  TestEnvironment env_;
};

TEST_F(HotsyncConduit, SyncOfTheSamplesExitsCleanlyForEitherStore) {
  namespace fs = std::filesystem;
  const fs::path samples =
      fs::u8path(platform::NativePath(std::string(KESTRO_SOURCE_DIR) + "/samples"));
  const fs::path folder = fs::u8path(env_.Folder());
  fs::copy(samples, folder / "samples", fs::copy_options::recursive);
  const struct {
    const char* location;
    int32_t browser_type;
  } stores[] = {{"Favorites", 0}, {"bookmarks.htm", 1}};
  for (const auto& store : stores) {
    SCOPED_TRACE(store.location);
    fs::remove_all(folder / "handheld");
    fs::create_directories(folder / "handheld");
    fs::copy_file(samples / "handheld" / "KestroDB.pdb", folder / "handheld" / "KestroDB.pdb");
    ASSERT_TRUE(WriteSettings((folder / "samples" / store.location).string(), store.browser_type));
    for (const char* type : {"0", "6"}) {
      auto sync = Run({"sync", "--conduit", BinFolder() + kConduit, "--type", type});
      EXPECT_EQ(sync.exit_code, 0) << sync.output;
      EXPECT_NE(sync.output.find("HotSync complete"), std::string::npos) << sync.output;
    }
  }
  EXPECT_EQ(env_.LogLines().back(), "-1|Kestro - conduit configured to Do Nothing");
}

TEST_F(HotsyncConduit, RegistersItselfAndUnregistersWithoutTouchingTheUsersOwnFiles) {
  auto reg = Run({"register", BinFolder() + kConduit});
  ASSERT_EQ(reg.exit_code, 0) << reg.output;
  EXPECT_EQ(ConduitManagerCalls(),
            (std::vector<std::string>{"CmInstallCreator", "CmSetCreatorName", "CmSetCreatorTitle",
                                      "CmSetCreatorDirectory", "CmSetCreatorPriority",
                                      "CmSetCreatorInfo"}));
  EXPECT_EQ(env_.HostCalls("HsRefreshConduitInfo").size(), 1u);
  auto conduits = Run({"conduits"});
  EXPECT_NE(conduits.output.find("Kstr"), std::string::npos) << conduits.output;
  EXPECT_NE(conduits.output.find("Kestro Sync"), std::string::npos) << conduits.output;

  ASSERT_EQ(Run({"users", "--add", "Ann"}).exit_code, 0);
  std::vector<platform::DirectoryEntry> users;
  ASSERT_TRUE(platform::ListDirectory(env_.Path("hotsync-home"), users));
  std::string ann;
  for (const auto& e : users) {
    if (e.is_directory) ann = env_.Path("hotsync-home") + platform::NativePath("\\" + e.name);
  }
  ASSERT_FALSE(ann.empty());
  platform::CreateDirectories(platform::NativePath(ann + "\\Default"));
  platform::WriteFileAtomically(platform::NativePath(ann + "\\Default\\state.dat"), "conduit's");
  platform::WriteFileAtomically(platform::NativePath(ann + "\\mine.txt"), "the user's");

  auto unreg = Run({"unregister", BinFolder() + kConduit});
  ASSERT_EQ(unreg.exit_code, 0) << unreg.output;
  EXPECT_FALSE(platform::DirectoryExists(platform::NativePath(ann + "\\Default")));
  EXPECT_TRUE(platform::FileExists(platform::NativePath(ann + "\\mine.txt")));
  EXPECT_EQ(Run({"conduits"}).output.find("Kstr"), std::string::npos);
  EXPECT_TRUE(env_.MessageBoxes().empty());
}

TEST_F(HotsyncConduit, RegistrationStopsAtTheFirstFailingCallWithOneMessage) {
  platform::SetEnv("KESTRO_HOST_FAULT", "CmSetCreatorTitle:1:-1009");
  auto reg = Run({"register", BinFolder() + kConduit});
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  EXPECT_EQ(reg.exit_code, 1) << reg.output;
  EXPECT_NE(reg.output.find("-1009"), std::string::npos) << reg.output;
  EXPECT_EQ(ConduitManagerCalls(), (std::vector<std::string>{"CmInstallCreator", "CmSetCreatorName",
                                                             "CmSetCreatorTitle!"}));
  EXPECT_TRUE(env_.HostCalls("HsRefreshConduitInfo").empty());
  EXPECT_EQ(env_.MessageBoxes(),
            std::vector<std::string>{"Error|" + EPalmSyncError(-1009).Message()});
}

TEST_F(HotsyncConduit, ConfigurationReachesBothDialogsAndKeepsTheChoices) {
  ASSERT_EQ(Run({"register", BinFolder() + kConduit}).exit_code, 0);
  std::string bookmarks = env_.Path("bookmarks.htm");
  platform::WriteFileAtomically(bookmarks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
  ScriptedDialogs dialogs(env_);
  dialogs.Script(
      {"check 2 data check 3 default on ok", "select 1 browse ok", "choose " + bookmarks});
  auto config = Run({"config", "--creator", "Kstr"});
  ASSERT_EQ(config.exit_code, 0) << config.output;
  EXPECT_TRUE(dialogs.Unused().empty());
  auto shown = dialogs.Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[0].find("|group=HotSync Action for Untitled|enabled=1101|checked=1000|default=0|"
                          "data=Settings ...@316,196|about=-"),
            std::string::npos)
      << shown[0];
  EXPECT_EQ(ReadBrowserType(), 1);
  EXPECT_EQ(ReadFavoritesPath(), bookmarks);
  EXPECT_NE(config.output.find("do nothing (default)"), std::string::npos) << config.output;
}

}  // namespace
}  // namespace kestro::testing
