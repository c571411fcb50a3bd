// The engine's HotSync action choice through the conduit's CfgConduit: the
// dialog offers every action but "Handheld overwrites desktop", reaches the
// settings dialog, and hands the choice back as the next sync type.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/conduit_harness.h"
#include "hostapi/host_records.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace kestro::testing {
namespace {

using CfgConduitFn = int32_t (*)(int32_t, hostapi::ThcdCfgConduitInfo*, uint32_t*);

struct Choice {
  const char* script;
  int32_t sync_temporary;
  int32_t sync_new;   // as the host reads it afterwards
  int32_t sync_pref;
  const char* checked;  // the dialog's radio buttons as shown
};

class Configure : public ::testing::TestWithParam<Choice> {};

TEST_P(Configure, HandsBackTheChosenAction) {
  const Choice& c = GetParam();
  ConduitHarness h;
  ASSERT_TRUE(platform::WriteFileAtomically(h.Env().Path("script.txt"), c.script));
  platform::SetEnv("KESTRO_DIALOG_SCRIPT", h.Env().Path("script.txt"));
  platform::SetEnv("KESTRO_DIALOG_RECORD", h.Env().Path("record.txt"));
  platform::DynamicLibrary conduit(BinFolder() + "Kestro.dll");
  auto cfg = conduit.Function<CfgConduitFn>("CfgConduit");
  ASSERT_TRUE(cfg);
  hostapi::ThcdCfgConduitInfo info{};
  info.syncTemporary = c.sync_temporary;
  info.syncNew = 99;
  uint32_t size = sizeof info;
  EXPECT_EQ(cfg(0, &info, &size), 0);
  platform::UnsetEnv("KESTRO_DIALOG_SCRIPT");
  platform::UnsetEnv("KESTRO_DIALOG_RECORD");
  EXPECT_EQ(info.syncNew, c.sync_new);
  EXPECT_EQ(info.syncPref, c.sync_pref);
  std::vector<std::string> shown = ReadLines(h.Env().Path("record.txt"));
  ASSERT_FALSE(shown.empty());
  EXPECT_THAT(shown[0], ::testing::HasSubstr(std::string("|group=HotSync Action for Untitled|enabled=1101|checked=") + c.checked));
  EXPECT_THAT(shown[0], ::testing::HasSubstr("|data=Settings ...@"));
}


INSTANTIATE_TEST_SUITE_P(
    Choices, Configure,
    ::testing::Values(Choice{"check 1 ok\n", 0, 3, 2, "1000"},             // desktop overwrites handheld, once
                      Choice{"check 3 default on ok\n", 3, 6, 1, "0100"},  // do nothing, from now on
                      Choice{"cancel\n", 1, 99, 2, "1000"},                // cancelled: syncNew untouched
                      Choice{"check 2 ok\n", 2, 0, 2, "1000"}),            // the disabled action cannot be taken
    // Stable names: the default would print the pointers inside Choice.
    [](const ::testing::TestParamInfo<Choice>& info) {
      const Choice& c = info.param;
      return "Temporary" + std::to_string(c.sync_temporary) + "New" + std::to_string(c.sync_new) + "Pref" +
             std::to_string(c.sync_pref);
    });

TEST(ConfigureSettings, SettingsButtonOpensTheSettingsDialog) {
  ConduitHarness h;
  ASSERT_TRUE(platform::WriteFileAtomically(h.Env().Path("script.txt"), "data cancel\ncancel\n"));
  platform::SetEnv("KESTRO_DIALOG_SCRIPT", h.Env().Path("script.txt"));
  platform::SetEnv("KESTRO_DIALOG_RECORD", h.Env().Path("record.txt"));
  platform::DynamicLibrary conduit(BinFolder() + "Kestro.dll");
  hostapi::ThcdCfgConduitInfo info{};
  uint32_t size = sizeof info;
  EXPECT_EQ(conduit.Function<CfgConduitFn>("CfgConduit")(0, &info, &size), 0);
  platform::UnsetEnv("KESTRO_DIALOG_SCRIPT");
  platform::UnsetEnv("KESTRO_DIALOG_RECORD");
  std::vector<std::string> shown = ReadLines(h.Env().Path("record.txt"));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_THAT(shown[1], ::testing::StartsWith("settings|caption=Kestro Conduit configuration"));
}

}  // namespace
}  // namespace kestro::testing
