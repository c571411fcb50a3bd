// The hotsync program end to end, with a small test conduit: registration,
// a HotSync and its log, the favourites tree, exit codes and errors.
#include <gtest/gtest.h>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "run_program.h"
#include "support/test_environment.h"

namespace kestro::testing {
namespace {

std::string Lib(const std::string& name) {
#if defined(_WIN32)
  return BinFolder() + name + ".dll";
#else
  return BinFolder() + name + ".so";
#endif
}

class Hotsync : public ::testing::Test {
 protected:
  ProgramRun Run(const std::vector<std::string>& args) {
#if defined(_WIN32)
    return RunProgram(BinFolder() + "hotsync.exe", args);
#else
    return RunProgram(BinFolder() + "hotsync", args);
#endif
  }
  static bool Contains(const ProgramRun& run, const std::string& text) {
    return run.output.find(text) != std::string::npos;
  }
  TestEnvironment env;
};

TEST_F(Hotsync, RegisteredConduitSyncsTheHandheldAndLogs) {
  auto reg = Run({"register", Lib("test_conduit")});
  ASSERT_EQ(reg.exit_code, 0) << reg.output;
  EXPECT_TRUE(Contains(reg, "Registered Test Conduit for creator Tst1")) << reg.output;
  auto conduits = Run({"conduits"});
  EXPECT_TRUE(Contains(conduits, "Tst1  Test Conduit  priority 2  synchronize")) << conduits.output;

  auto sync = Run({"sync", "--type", "desktop-overwrites", "--user", "Ann"});
  ASSERT_EQ(sync.exit_code, 0) << sync.output;
  // Without a terminal the conduit's progress is not shown.
  std::size_t start = sync.output.find("Test Conduit 1.2: desktop overwrites handheld");
  std::size_t done = sync.output.find("Test Conduit done");
  EXPECT_TRUE(start < done) << sync.output;
  EXPECT_FALSE(Contains(sync, "Writing favourites")) << sync.output;
  std::string props;
  std::string folder = env.Path("hotsync-home") + platform::PathSeparator() + "Ann" + platform::PathSeparator();
  ASSERT_TRUE(platform::ReadWholeFile(folder + "TestDir" + platform::PathSeparator() + "props.txt", props));
  EXPECT_EQ(props, "3|Ann|" + folder + "|" + folder + "TestDir");

  EXPECT_EQ(env.LogLines(), (std::vector<std::string>{"19|", "20|Test Conduit"}));
  auto log = Run({"log", "--user", "Ann"});
  EXPECT_EQ(log.exit_code, 0);
  EXPECT_TRUE(Contains(log, "  sync started\n")) << log.output;
  EXPECT_TRUE(Contains(log, "  sync finished: Test Conduit\n")) << log.output;

  auto dump = Run({"dump", "KestroDB"});
  ASSERT_EQ(dump.exit_code, 0) << dump.output;
  EXPECT_TRUE(Contains(dump, "KestroDB: creator Kstr, type DATA")) << dump.output;
  EXPECT_TRUE(Contains(dump, "\n+ News/  [id ")) << dump.output;
  EXPECT_TRUE(Contains(dump, "\n  - BBC  <http://www.bbc.co.uk/>  [id ")) << dump.output;
  EXPECT_TRUE(Contains(dump, "level 1, status url visible]")) << dump.output;
  auto list = Run({"list"});
  EXPECT_TRUE(Contains(list, "KestroDB                        Kstr DATA      2 records  KestroDB.pdb")) << list.output;

  auto unreg = Run({"unregister", "--creator", "Tst1"});
  EXPECT_EQ(unreg.exit_code, 0) << unreg.output;
  EXPECT_EQ(Run({"sync"}).exit_code, 3) << "nothing registered any more";
}

TEST_F(Hotsync, FailedOrAbortedRunsFailTheHotSync) {
  platform::SetEnv("TEST_CONDUIT_MODE", "fail");
  auto failed = Run({"--conduit", Lib("test_conduit")});
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_TRUE(Contains(failed, "hotsync: Test Conduit failed: OpenConduit answered 16387")) << failed.output;
  platform::SetEnv("TEST_CONDUIT_MODE", "abort");
  auto aborted = Run({"sync", "--conduit", Lib("test_conduit")});
  EXPECT_EQ(aborted.exit_code, 1);
  EXPECT_TRUE(Contains(aborted, "hotsync: Test Conduit aborted: Test Conduit - the test asked for it"))
      << aborted.output;
  platform::UnsetEnv("TEST_CONDUIT_MODE");
  // The log of the last HotSync holds that run only.
  auto log = Run({"log"});
  EXPECT_TRUE(Contains(log, "sync aborted")) << log.output;
  EXPECT_EQ(log.output.find("16387"), std::string::npos);
}

TEST_F(Hotsync, ErrorsAreOneLineWithFixedExitCodes) {
  const struct {
    std::vector<std::string> args;
    int exit_code;
    const char* message;
  } cases[] = {
      {{"frobnicate"}, 2, "hotsync: unknown command frobnicate"},
      {{"sync", "--type"}, 2, "hotsync: --type needs a value"},
      {{"sync", "--type", "sideways"}, 2, "hotsync: not a sync type: sideways"},
      {{"sync", "--bogus"}, 2, "hotsync: unknown option --bogus"},
      {{"sync"}, 3, "hotsync: no conduit is registered"},
      {{"sync", "--creator", "Nope"}, 3, "hotsync: no conduit is registered for creator Nope"},
      {{"dump", "Missing"}, 3, "hotsync: no database \"Missing\" on the handheld"},
      {{"log"}, 3, "hotsync: no HotSync has been logged yet"},
      {{"install", "no-such-file.pdb"}, 3, "hotsync: no such file"},
      {{"sync", "--conduit", "no-such-conduit.dll"}, 4, "hotsync: cannot load the conduit"},
      {{"config", Lib("test_conduit")}, 4, "hotsync: the conduit does not export CfgConduit"},
      {{"register", Lib("hsapi")}, 4, "hotsync: the conduit does not export DllRegisterServer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
    auto run = Run(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.output;
    EXPECT_EQ(run.output.rfind(c.message, 0), 0u) << run.output;
    EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << "one line: " << run.output;
  }
}

TEST_F(Hotsync, EveryCommandHasHelp) {
  for (const char* command : {"sync", "config", "register", "unregister", "conduits", "log", "list", "dump", "users",
                              "install"}) {
    SCOPED_TRACE(command);
    auto run = Run({command, "--help"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output.rfind(std::string("usage: hotsync ") + command, 0), 0u) << run.output;
  }
  auto top = Run({"--help"});
  EXPECT_EQ(top.exit_code, 0);
  EXPECT_TRUE(Contains(top, "  dump ")) << top.output;
}

TEST_F(Hotsync, InstalledFileReachesTheHandheldAtTheNextHotSync) {
  // A database file made by another handheld's backup.
  std::string image(78, '\0');
  std::string name = "Installed";
  image.replace(0, name.size(), name);
  image.replace(60, 8, "DATAtest");
  image += std::string(2, '\0');
  std::string file = env.Path("Installed.pdb");
  ASSERT_TRUE(platform::WriteFileAtomically(file, image));
  auto queued = Run({"install", file});
  ASSERT_EQ(queued.exit_code, 0) << queued.output;
  ASSERT_EQ(Run({"register", Lib("test_conduit")}).exit_code, 0);
  auto sync = Run({});
  EXPECT_EQ(sync.exit_code, 0) << sync.output;
  EXPECT_TRUE(Contains(sync, "Installed Installed.pdb on the handheld")) << sync.output;
  auto list = Run({"list"});
  EXPECT_TRUE(Contains(list, "Installed                       test DATA      0 records")) << list.output;
  // A damaged database is listed as such, not skipped and not fatal.
  ASSERT_TRUE(platform::WriteFileAtomically(env.Path("handheld") + platform::PathSeparator() + "Broken.pdb", "short"));
  list = Run({"list"});
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_TRUE(Contains(list, "damaged: the file is shorter than a database header")) << list.output;
}

}  // namespace
}  // namespace kestro::testing
