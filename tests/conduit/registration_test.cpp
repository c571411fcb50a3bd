// Registration and unregistration against a fake Conduit Manager and user
// data library that record every call and fail on cue.
#include "conduit/registration.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "conduit/exports.h"
#include "palmdb/sync_errors.h"
#include "platform/file_system.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

using testing::TestEnvironment;

// The fake host: its calls, the call to fail and with what, its users.
struct FakeHost {
  std::vector<std::string> calls;
  std::string failing;
  int32_t code = 0;
  int32_t remove_result = 1;
  std::string core_path;
  std::string creator_directory = "Default";
  int16_t user_count = 0;
  std::map<int16_t, std::string> user_dirs;  // missing: the directory cannot be read
};
FakeHost* fake = nullptr;

int32_t Call(const std::string& name, const std::string& args) {
  fake->calls.push_back(name + "(" + args + ")");
  return name == fake->failing ? fake->code : 0;
}

void CopyOut(const std::string& text, char* buffer) { std::strcpy(buffer, text.c_str()); }

extern "C" {
int32_t FakeInstall(const char* id, int32_t type) {
  return Call("CmInstallCreator", std::string(id) + "," + std::to_string(type));
}
int32_t FakeName(const char* id, const char* v) {
  return Call("CmSetCreatorName", std::string(id) + "," + v);
}
int32_t FakeTitle(const char* id, const char* v) {
  return Call("CmSetCreatorTitle", std::string(id) + "," + v);
}
int32_t FakeDirectory(const char* id, const char* v) {
  return Call("CmSetCreatorDirectory", std::string(id) + "," + v);
}
int32_t FakeFile(const char* id, const char* v) {
  return Call("CmSetCreatorFile", std::string(id) + "," + v);
}
int32_t FakeRemote(const char* id, const char* v) {
  return Call("CmSetCreatorRemote", std::string(id) + "," + v);
}
int32_t FakeInfo(const char* id, const char* v) {
  return Call("CmSetCreatorInfo", std::string(id) + "," + v);
}
int32_t FakePriority(const char* id, int32_t p) {
  return Call("CmSetCreatorPriority", std::string(id) + "," + std::to_string(p));
}
int32_t FakeRemove(const char* id) {
  Call("CmRemoveConduitByCreatorID", id);
  return fake->remove_result;
}
int32_t FakeCorePath(char* buffer, int32_t* size) {
  EXPECT_EQ(*size, 255);
  CopyOut(fake->core_path, buffer);
  return Call("CmGetCorePath", "");
}
int32_t FakeCreatorDirectory(const char* id, char* buffer, int32_t* size) {
  EXPECT_EQ(*size, 255);
  CopyOut(fake->creator_directory, buffer);
  return Call("CmGetCreatorDirectory", id);
}
int32_t FakeRefresh() { return Call("HsRefreshConduitInfo", ""); }
int16_t FakeUserCount() { return fake->user_count; }
int32_t FakeUserID(int16_t index, uint32_t* id) {
  *id = 100u + static_cast<uint32_t>(index);
  return 0;
}
int32_t FakeUserDirectory(uint32_t id, char* buffer, int16_t* size) {
  EXPECT_EQ(*size, 255);
  auto it = fake->user_dirs.find(static_cast<int16_t>(id - 100));
  if (it == fake->user_dirs.end()) return -504;
  CopyOut(it->second, buffer);
  return 0;
}
}

class Registration : public ::testing::Test {
 protected:
  Registration() {
    fake = &host_;
    cm_ = {FakeInstall,         FakeName, FakeTitle,    FakeDirectory, FakeFile,
           FakeRemote,          FakeInfo, FakePriority, FakeRemove,    FakeCorePath,
           FakeCreatorDirectory};
    api_.HsRefreshConduitInfo = FakeRefresh;
    um_ = {FakeUserCount, FakeUserID, FakeUserDirectory, nullptr};
    component_.SetConduitName("Kestro");
    component_.SetInformation("Kestro Sync");
    component_.SetCreatorID("Kstr");
    host_.core_path = env_.Path("core");  // the native separator inside, "\" joins
  }
  ~Registration() override { fake = nullptr; }

  RegistrationHost Host() { return RegistrationHost{&cm_, &api_, &um_, "/opt/hotsync/Kestro.so"}; }
  // A user folder with the conduit's folder and a file of the user's in it.
  std::string MakeUser(int16_t index, const std::string& name) {
    host_.user_dirs[index] = name;
    std::string user = platform::NativePath(host_.core_path + "\\" + name);
    platform::CreateDirectories(platform::NativePath(user + "\\Default"));
    platform::WriteFileAtomically(platform::NativePath(user + "\\user.dat"), "mine");
    host_.user_count = static_cast<int16_t>(std::max<int>(host_.user_count, index + 1));
    return user;
  }
  bool HasConduitFolder(const std::string& user) {
    return platform::DirectoryExists(platform::NativePath(user + "\\Default"));
  }

  TestEnvironment env_;
  FakeHost host_;
  ConduitManagerFunctions cm_;
  HotSyncApiFunctions api_;
  UserDataFunctions um_;
  ThcdPalmComponent component_;
};

TEST_F(Registration, RegistersInOrderWithoutTheEmptyValues) {
  EXPECT_EQ(RegisterServer(Host()), 0);
  EXPECT_EQ(host_.calls,
            (std::vector<std::string>{
                "CmInstallCreator(Kstr,1)", "CmSetCreatorName(Kstr,/opt/hotsync/Kestro.so)",
                "CmSetCreatorTitle(Kstr,Kestro)", "CmSetCreatorDirectory(Kstr,Default)",
                "CmSetCreatorPriority(Kstr,2)", "CmSetCreatorInfo(Kstr,Kestro Sync)",
                "HsRefreshConduitInfo()"}));
  EXPECT_TRUE(env_.MessageBoxes().empty());

  host_.calls.clear();
  component_.SetCreatorFile("favs.dat");
  component_.SetRemoteFile("KestroDB");
  component_.SetInformation("");
  EXPECT_EQ(RegisterServer(Host()), 0);
  EXPECT_EQ(host_.calls,
            (std::vector<std::string>{
                "CmInstallCreator(Kstr,1)", "CmSetCreatorName(Kstr,/opt/hotsync/Kestro.so)",
                "CmSetCreatorTitle(Kstr,Kestro)", "CmSetCreatorDirectory(Kstr,Default)",
                "CmSetCreatorFile(Kstr,favs.dat)", "CmSetCreatorRemote(Kstr,KestroDB)",
                "CmSetCreatorPriority(Kstr,2)", "HsRefreshConduitInfo()"}));
}

TEST_F(Registration, FirstFailingCallEndsItWithOneMessageBoxAndItsCode) {
  const struct {
    const char* failing;
    std::size_t calls_made;
  } cases[] = {{"CmInstallCreator", 1}, {"CmSetCreatorTitle", 3}, {"CmSetCreatorInfo", 6}};
  for (auto c : cases) {
    TestEnvironment env;
    host_.calls.clear();
    host_.failing = c.failing;
    host_.code = -1004;
    EXPECT_EQ(RegisterServer(Host()), -1004) << c.failing;
    ASSERT_EQ(host_.calls.size(), c.calls_made) << c.failing;
    EXPECT_EQ(host_.calls.back().substr(0, host_.calls.back().find('(')), c.failing);
    EXPECT_EQ(env.MessageBoxes(),
              std::vector<std::string>{std::string("Error|") + EPalmSyncError(-1004).Message()});
  }
}

TEST_F(Registration, OtherFailuresAnswerEFailWithoutAMessage) {
  component_.OnRegisterConduit = [](Component*) { throw Exception("handler"); };
  EXPECT_EQ(RegisterServer(Host()), kEFail);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_TRUE(env_.MessageBoxes().empty());
}

TEST_F(Registration, LibraryPathIsCutToTheHostsBuffer) {
  EXPECT_EQ(RegisteredLibraryPath(std::string(300, 'x')).size(), 254u);
  EXPECT_EQ(RegisteredLibraryPath("C:\\Kestro.dll"), "C:\\Kestro.dll");
}

TEST_F(Registration, UnregisterDeletesEachUsersConduitFolderAndSkipsUnreadableUsers) {
  std::string ann = MakeUser(0, "Ann");
  std::string bob = MakeUser(2, "Bob");  // user 1's directory cannot be read
  EXPECT_EQ(UnregisterServer(Host()), 0);
  EXPECT_FALSE(HasConduitFolder(ann));
  EXPECT_FALSE(HasConduitFolder(bob));
  EXPECT_TRUE(platform::FileExists(platform::NativePath(ann + "\\user.dat")));
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"CmGetCorePath()", "CmGetCreatorDirectory(Kstr)",
                                                   "CmRemoveConduitByCreatorID(Kstr)",
                                                   "HsRefreshConduitInfo()"}));
}

TEST_F(Registration, HandlerKeepingTheFoldersTouchesNone) {
  std::string ann = MakeUser(0, "Ann");
  component_.OnUnregisterConduit = [](Component*, bool& remove_dirs) { remove_dirs = false; };
  EXPECT_EQ(UnregisterServer(Host()), 0);
  EXPECT_TRUE(HasConduitFolder(ann));
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"CmRemoveConduitByCreatorID(Kstr)",
                                                   "HsRefreshConduitInfo()"}));
}

TEST_F(Registration, RemovalRefusedGivesEFailWithoutRefreshButFoldersStayDeleted) {
  std::string ann = MakeUser(0, "Ann");
  host_.remove_result = 0;
  EXPECT_EQ(UnregisterServer(Host()), kEFail);
  EXPECT_FALSE(HasConduitFolder(ann));
  EXPECT_EQ(host_.calls.back(), "CmRemoveConduitByCreatorID(Kstr)");
}

TEST_F(Registration, UsersOwnFoldersSurviveWhateverTheConduitManagerAnswers) {
  for (const char* directory :
       {"", " ", ".", "..", "..\\..", "\\", "C:\\Users", "Default\\..", "/etc"}) {
    std::string ann = MakeUser(0, "Ann");
    host_.creator_directory = directory;
    EXPECT_EQ(UnregisterServer(Host()), 0) << "'" << directory << "'";
    EXPECT_TRUE(platform::FileExists(platform::NativePath(ann + "\\user.dat")))
        << "'" << directory << "'";
    EXPECT_TRUE(HasConduitFolder(ann)) << "'" << directory << "'";
    EXPECT_TRUE(platform::DirectoryExists(host_.core_path));
  }
  // A user folder name that is empty, absolute or climbs out would put the
  // conduit folder in the core folder or outside it.
  host_.creator_directory = "Default";
  const std::string core_default = platform::NativePath(host_.core_path + "\\Default");
  const std::string outside_default = env_.Path("Default");
  const std::string sibling_default = platform::NativePath(env_.Path("sibling") + "\\Default");
  for (const std::string& dir : {core_default, outside_default, sibling_default})
    platform::CreateDirectories(dir);
  for (const std::string& user : std::vector<std::string>{"", "..", "..\\sibling", "Ann\\..\\..",
                                                          "\\", env_.Path("sibling")}) {
    host_.user_dirs[0] = user;
    EXPECT_EQ(UnregisterServer(Host()), 0) << "'" << user << "'";
    for (const std::string& dir : {core_default, outside_default, sibling_default}) {
      EXPECT_TRUE(platform::DirectoryExists(dir)) << "'" << user << "' deleted " << dir;
    }
  }
}

TEST_F(Registration, EarlyFailuresEndTheFolderRemovalQuietly) {
  std::string ann = MakeUser(0, "Ann");
  for (const char* failing : {"CmGetCorePath", "CmGetCreatorDirectory"}) {
    host_.failing = failing;
    host_.code = -1002;
    EXPECT_EQ(UnregisterServer(Host()), 0) << failing;
    EXPECT_TRUE(HasConduitFolder(ann)) << failing;
  }
  host_.failing.clear();
  UserDataFunctions none;  // user data library not loaded
  RegistrationHost host = Host();
  host.user_data = &none;
  EXPECT_EQ(UnregisterServer(host), 0);
  EXPECT_TRUE(HasConduitFolder(ann));
}

TEST(RegistrationWithoutComponent, AnswersOneAndEFail) {
  TestEnvironment env;
  RegistrationHost host;
  EXPECT_EQ(RegisterServer(host), 1);
  EXPECT_EQ(UnregisterServer(host), kEFail);
}

TEST(PlainRelativeFolder, AcceptsOnlyFoldersInsideTheOneJoinedTo) {
  for (const char* good : {"Default", "Kestro", "Kestro\\Data", "My Favorites"})
    EXPECT_TRUE(IsPlainRelativeFolder(good)) << good;
  for (const char* bad : {"", "   ", ".", "..", "a\\..", "a\\\\b", "\\x", "/x", "C:x", "a/../b"}) {
    EXPECT_FALSE(IsPlainRelativeFolder(bad)) << bad;
  }
}

}  // namespace
}  // namespace kestro
