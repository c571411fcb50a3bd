// The Conduit Manager, user data, install aide and HotSync API stand-ins as
// a conduit's registration sees them, loaded from the build folder.
#include <gtest/gtest.h>

#include "hostapi/conduit_manager.h"
#include "hostapi/hotsync_api.h"
#include "hostapi/hotsync_log.h"
#include "hostapi/install_aide.h"
#include "hostapi/user_data.h"
#include "host_store.h"
#include "platform/dynamic_library.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "support/test_environment.h"

namespace kestro::testing {
namespace {

template <typename F>
F Fn(platform::DynamicLibrary& library, const char* name) {
  F f = library.Function<F>(name);
  EXPECT_NE(f, nullptr) << name;
  return f;
}

TEST(ConduitManager, KeepsRegistrationsPerCreator) {
  TestEnvironment env;
  platform::DynamicLibrary cm(BinFolder() + "condmgr.dll");
  ASSERT_TRUE(cm.IsLoaded()) << cm.Error();
  auto install = Fn<decltype(&CmInstallCreator)>(cm, "CmInstallCreator");
  auto set_name = Fn<decltype(&CmSetCreatorName)>(cm, "CmSetCreatorName");
  auto set_title = Fn<decltype(&CmSetCreatorTitle)>(cm, "CmSetCreatorTitle");
  auto set_dir = Fn<decltype(&CmSetCreatorDirectory)>(cm, "CmSetCreatorDirectory");
  auto set_priority = Fn<decltype(&CmSetCreatorPriority)>(cm, "CmSetCreatorPriority");
  auto set_info = Fn<decltype(&CmSetCreatorInfo)>(cm, "CmSetCreatorInfo");
  auto remove = Fn<decltype(&CmRemoveConduitByCreatorID)>(cm, "CmRemoveConduitByCreatorID");
  auto get_dir = Fn<decltype(&CmGetCreatorDirectory)>(cm, "CmGetCreatorDirectory");
  auto core = Fn<decltype(&CmGetCorePath)>(cm, "CmGetCorePath");

  EXPECT_EQ(set_title("Kstr", "Kestro"), -1003) << "not installed yet";
  ASSERT_EQ(install("Kstr", 1), 0);
  EXPECT_EQ(install("Kstr", 1), -1004) << "installed twice";
  EXPECT_EQ(install("Kst", 1), -1005);
  EXPECT_EQ(install(nullptr, 1), -1005);
  EXPECT_EQ(set_name("Kstr", "/opt/Kestro.so"), 0);
  EXPECT_EQ(set_title("Kstr", "Kestro"), 0);
  EXPECT_EQ(set_dir("Kstr", "Default"), 0);
  EXPECT_EQ(set_info("Kstr", "Kestro Sync"), 0);
  EXPECT_EQ(set_priority("Kstr", 5), -1013);
  EXPECT_EQ(set_priority("Kstr", 4), 0);
  auto stored = host::FindConduit("Kstr");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, 1);
  EXPECT_EQ(stored->library, "/opt/Kestro.so");
  EXPECT_EQ(stored->title, "Kestro");
  EXPECT_EQ(stored->info, "Kestro Sync");
  EXPECT_EQ(stored->priority, 4);

  char buffer[256] = {};
  int32_t size = 255;
  ASSERT_EQ(get_dir("Kstr", buffer, &size), 0);
  EXPECT_STREQ(buffer, "Default");
  size = 3;
  EXPECT_EQ(get_dir("Kstr", buffer, &size), -1006) << "buffer too small";
  size = 255;
  ASSERT_EQ(core(buffer, &size), 0);
  EXPECT_EQ(std::string(buffer), env.Path("hotsync-home") + platform::PathSeparator());

  EXPECT_GT(remove("Kstr"), 0);
  EXPECT_EQ(remove("Kstr"), -1003);
  size = 255;
  EXPECT_EQ(get_dir("Kstr", buffer, &size), -1003);
  EXPECT_FALSE(host::FindConduit("Kstr"));
}

TEST(UserData, UsersAndTheirFoldersAndTheRootFolder) {
  TestEnvironment env;
  platform::DynamicLibrary um(BinFolder() + "userdata.dll");
  ASSERT_TRUE(um.IsLoaded()) << um.Error();
  auto count = Fn<decltype(&UmGetUserCount)>(um, "UmGetUserCount");
  auto get_id = Fn<decltype(&UmGetUserID)>(um, "UmGetUserID");
  auto get_dir = Fn<decltype(&UmGetUserDirectory)>(um, "UmGetUserDirectory");
  auto root = Fn<decltype(&UmGetRootDirectory)>(um, "UmGetRootDirectory");
  EXPECT_EQ(count(), 0);
  ASSERT_TRUE(host::AddUser("Ann"));
  ASSERT_TRUE(host::AddUser("Bob/Smith"));
  EXPECT_EQ(count(), 2);
  uint32_t id = 0;
  ASSERT_EQ(get_id(1, &id), 0);
  char buffer[256] = {};
  int16_t size = 255;
  ASSERT_GE(get_dir(id, buffer, &size), 0);
  EXPECT_STREQ(buffer, "Bob_Smith") << "a user's folder name stays inside the core path";
  EXPECT_TRUE(platform::DirectoryExists(env.Path("hotsync-home") + platform::PathSeparator() + "Bob_Smith"));
  EXPECT_EQ(get_id(2, &id), -507);
  EXPECT_EQ(get_dir(999, buffer, &size), -504);
  char folder[260] = {};
  int16_t folder_size = 260;
  root(folder, &folder_size);
  EXPECT_TRUE(platform::FileExists(platform::PlatformLibraryName(std::string(folder) + "userdata.dll")))
      << folder << " is the folder the host libraries are in";
}

TEST(InstallAideAndRefresh, QueueFilesAndRereadConduits) {
  TestEnvironment env;
  platform::DynamicLibrary ia(BinFolder() + "instaide.dll");
  platform::DynamicLibrary hs(BinFolder() + "hsapi.dll");
  auto install = Fn<decltype(&PltInstallFile)>(ia, "PltInstallFile");
  auto refresh = Fn<decltype(&HsRefreshConduitInfo)>(hs, "HsRefreshConduitInfo");
  auto user = host::AddUser("Ann");
  ASSERT_TRUE(user);
  std::string file = env.Path("Memo.pdb");
  ASSERT_TRUE(platform::WriteFileAtomically(file, "contents"));
  std::string text = env.Path("notes.txt");
  ASSERT_TRUE(platform::WriteFileAtomically(text, "contents"));
  EXPECT_EQ(install("Ann", file.c_str()), 0);
  EXPECT_EQ(install("Nobody", file.c_str()), -504);
  EXPECT_EQ(install("Ann", env.Path("missing.pdb").c_str()), -554);
  EXPECT_EQ(install("Ann", text.c_str()), -553);
  EXPECT_EQ(install(nullptr, file.c_str()), -513);
  std::string queued;
  EXPECT_TRUE(platform::ReadWholeFile(host::UserFolder(*user) + "Install" + platform::PathSeparator() + "Memo.pdb", queued));
  EXPECT_EQ(queued, "contents");
  EXPECT_EQ(refresh(), 0);
  auto calls = env.HostCalls("HsRefreshConduitInfo");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].out, "conduits=0");
}

}  // namespace
}  // namespace kestro::testing
