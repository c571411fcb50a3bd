// Loads the built conduit library the way the host does and calls its entry
// points; a missing host library must keep the conduit from starting.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hostapi/host_records.h"
#include "platform/dynamic_library.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

using platform::DynamicLibrary;

using GetConduitNameFn = int32_t (*)(char*, uint16_t);
using GetConduitVersionFn = uint32_t (*)();
using GetConduitInfoFn = int32_t (*)(int32_t, void*, void*, uint32_t*);
using OpenConduitFn = int32_t (*)(void (*)(const char*), hostapi::ThcdSyncProperties*);
using ClassObjectFn = int32_t (*)(const void*, const void*, void**);
using CanUnloadFn = int32_t (*)();

bool CopyFile(const std::string& from, const std::string& to) {
  std::string data;
  return platform::ReadWholeFile(from, data) && platform::WriteFileAtomically(to, data);
}

std::string Lib(const std::string& dll) { return platform::PlatformLibraryName(dll); }

TEST(LibraryLoad, EveryEntryPointAnswers) {
  testing::TestEnvironment env;
  DynamicLibrary kestro(testing::BinFolder() + "Kestro.dll");
  ASSERT_TRUE(kestro.IsLoaded()) << kestro.Error();
  EXPECT_TRUE(env.MessageBoxes().empty());

  auto get_name = kestro.Function<GetConduitNameFn>("GetConduitName");
  auto get_version = kestro.Function<GetConduitVersionFn>("GetConduitVersion");
  auto get_info = kestro.Function<GetConduitInfoFn>("GetConduitInfo");
  auto open_conduit = kestro.Function<OpenConduitFn>("OpenConduit");
  auto class_object = kestro.Function<ClassObjectFn>("DllGetClassObject");
  auto can_unload = kestro.Function<CanUnloadFn>("DllCanUnloadNow");
  ASSERT_TRUE(get_name && get_version && get_info && open_conduit && class_object && can_unload);

  char name[32] = {};
  EXPECT_EQ(get_name(name, sizeof name), 0);
  EXPECT_STREQ(name, "Kestro");
  EXPECT_EQ(get_version(), 256u);
  uint32_t mfc = 0, size = 4;
  EXPECT_EQ(get_info(1, nullptr, &mfc, &size), 0);
  EXPECT_EQ(mfc, 0x10000000u);
  void* object = &mfc;
  EXPECT_EQ(class_object(nullptr, nullptr, &object), static_cast<int32_t>(0x80040111u));
  EXPECT_EQ(object, &mfc) << "nothing is written";
  EXPECT_EQ(can_unload(), 0);

  // A sync type the run does not act on: registration and the two log entries.
  hostapi::ThcdSyncProperties props{};
  props.m_SyncType = 7;
  EXPECT_EQ(open_conduit(nullptr, &props), 0);
}

TEST(LibraryLoad, MissingHostLibraryKeepsTheConduitFromStarting) {
  testing::TestEnvironment env;
  // A HotSync folder with the user data library and the Sync Manager but no
  // HotSync log: the user data library names this folder as the library folder.
  std::string folder = env.Path("hotsync");
  ASSERT_TRUE(platform::CreateDirectories(folder));
  folder += platform::PathSeparator();
  for (const char* dll : {"Kestro.dll", "userdata.dll", "sync20.dll"}) {
    ASSERT_TRUE(CopyFile(testing::BinFolder() + Lib(dll), folder + Lib(dll))) << dll;
  }
  DynamicLibrary kestro(folder + "Kestro.dll");
  // On Windows the load fails; on Linux the library stays but cannot work.
  if (kestro.IsLoaded()) {
    auto get_name = kestro.Function<GetConduitNameFn>("GetConduitName");
    char name[32] = {};
    EXPECT_EQ(get_name(name, sizeof name), -1);
    auto open_conduit = kestro.Function<OpenConduitFn>("OpenConduit");
    hostapi::ThcdSyncProperties props{};
    EXPECT_EQ(open_conduit(nullptr, &props), -1);
  }
  EXPECT_EQ(env.MessageBoxes(), std::vector<std::string>{"Error|hcdHslog: Unable to load hslog20.dll"});
}

}  // namespace
}  // namespace kestro
