// The configuration entry points and handlers: the argument checks, the
// record built for the older entry point and written back, and the two
// mappings between sync types and the dialog's actions.
#include "conduit/configure_conduit.h"

#include <gtest/gtest.h>

#include <cstring>

#include "conduit/exports.h"
#include "conduit/scripted_dialogs.h"

namespace kestro {
namespace {

using hostapi::SyncPreference;
using testing::ScriptedDialogs;
using testing::TestEnvironment;

ThcdCfgConduitInfo ZeroInfo(int32_t sync_temporary) {
  ThcdCfgConduitInfo info;
  std::memset(&info, 0, sizeof info);
  info.syncTemporary = sync_temporary;
  info.syncNew = 99;  // so that "left unchanged" can be seen
  return info;
}

class Configure : public ::testing::Test {
 protected:
  Configure() {
    component_.SetConduitName("Kestro");
    component_.SetCreatorID("Kstr");
  }
  std::string LastShown() {
    auto lines = dialogs_.Shown();
    return lines.empty() ? "" : lines.back();
  }
  TestEnvironment env_;
  ScriptedDialogs dialogs_{env_};
  ThcdPalmComponent component_;
};

TEST(ConfigureMapping, SyncTypesAndActionsCorrespond) {
  const struct {
    int32_t sync_type;
    int action;
  } pairs[] = {{0, 0}, {3, 1}, {2, 2}, {6, 3}};
  for (auto p : pairs) {
    EXPECT_EQ(ActionIndexOfSyncType(p.sync_type), p.action);
    EXPECT_EQ(SyncTypeOfActionIndex(p.action), p.sync_type);
  }
  for (int32_t other : {-1, 1, 4, 5, 7, 1000}) EXPECT_EQ(ActionIndexOfSyncType(other), 0) << other;
  for (int other : {-1, 4}) EXPECT_FALSE(SyncTypeOfActionIndex(other)) << other;
}

TEST_F(Configure, CfgConduitChecksItsArgumentsInOrder) {
  ThcdCfgConduitInfo info = ZeroInfo(0);
  uint32_t size = 351;
  EXPECT_EQ(CfgConduit(1, nullptr, nullptr), 4212);
  EXPECT_EQ(CfgConduit(1, &info, nullptr), 4216);
  EXPECT_EQ(CfgConduit(1, &info, &size), 4218) << "the size is checked before the type";
  size = 352;
  EXPECT_EQ(CfgConduit(1, &info, &size), 4219);
  EXPECT_TRUE(dialogs_.Shown().empty()) << "no dialog for a refused call";
}

TEST_F(Configure, DefaultConfigurationPreselectsAndWritesTheChoice) {
  ThcdCfgConduitInfo info = ZeroInfo(3);
  uint32_t size = 352;
  dialogs_.Script({"check 2 default on ok"});
  EXPECT_EQ(CfgConduit(0, &info, &size), 0);
  EXPECT_NE(LastShown().find("|group=HotSync Action for Kestro|enabled=1111|checked=0100|"), std::string::npos)
      << LastShown();
  EXPECT_EQ(info.syncNew, 2);
  EXPECT_EQ(info.syncPref, 1);

  info = ZeroInfo(6);
  dialogs_.Script({"default on cancel"});
  EXPECT_EQ(CfgConduit(0, &info, &size), 0);
  EXPECT_NE(LastShown().find("|checked=0001|"), std::string::npos);
  EXPECT_EQ(info.syncNew, 99) << "a cancelled dialog leaves syncNew";
  EXPECT_EQ(info.syncPref, 2);
}

TEST_F(Configure, BoundHandlerReplacesTheDefaultDialog) {
  int calls = 0;
  component_.OnConfigConduit = [&](ThcdCfgConduitInfo& data) {
    ++calls;
    data.syncNew = 6;
  };
  ThcdCfgConduitInfo info = ZeroInfo(0);
  uint32_t size = 352;
  EXPECT_EQ(CfgConduit(0, &info, &size), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(info.syncNew, 6);
  EXPECT_TRUE(dialogs_.Shown().empty());

  component_.OnConfigConduit = [](ThcdCfgConduitInfo&) { throw Exception("handler failed"); };
  EXPECT_EQ(CfgConduit(0, &info, &size), -1);
  EXPECT_TRUE(env_.MessageBoxes().empty()) << "a failed configuration shows nothing";
}

TEST_F(Configure, ConfigureConduitBuildsTheRecordAndWritesBackOnlyOnSuccess) {
  SyncPreference pref;
  std::memset(&pref, 0xAB, sizeof pref);
  std::strcpy(pref.text_block, "host text");
  pref.preference = 1;
  pref.sync_type = 3;
  ThcdCfgConduitInfo seen{};
  component_.OnConfigConduit = [&](ThcdCfgConduitInfo& data) { seen = data; };
  ASSERT_EQ(ConfigureConduit(&pref), 0);
  EXPECT_EQ(seen.dwVersion, 0xFFFFFFFFu);
  EXPECT_EQ(seen.dwSize, 352u);
  EXPECT_EQ(seen.dwCreatorId, 'K' | 's' << 8 | 't' << 16 | static_cast<uint32_t>('r') << 24);
  EXPECT_EQ(seen.syncPref, 1);
  EXPECT_EQ(seen.syncPermanent, 3);
  EXPECT_EQ(seen.syncTemporary, 3);
  EXPECT_EQ(seen.syncNew, 0);
  EXPECT_EQ(std::memcmp(seen.szTextBlock, pref.text_block, 256), 0);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&seen);
  for (int i = 12; i < 80; ++i) ASSERT_EQ(bytes[i], 0) << "host data byte " << i;
  // The handler did not choose: syncNew 0 goes back as the sync type.
  EXPECT_EQ(pref.preference, 1);
  EXPECT_EQ(pref.sync_type, 0);

  component_.OnConfigConduit = [](ThcdCfgConduitInfo&) { throw Exception("no"); };
  pref.preference = 1;
  pref.sync_type = 3;
  EXPECT_EQ(ConfigureConduit(&pref), -1);
  EXPECT_EQ(pref.preference, 1) << "nothing is written back after a failure";
  EXPECT_EQ(pref.sync_type, 3);
}

TEST_F(Configure, ConfigureConduitAfterACancelledDialogWritesPreferenceTwoAndSyncTypeZero) {
  SyncPreference pref;
  std::memset(&pref, 0, sizeof pref);
  pref.preference = 1;
  pref.sync_type = 6;
  dialogs_.Script({"check 1 default on cancel"});
  EXPECT_EQ(ConfigureConduit(&pref), 0);
  EXPECT_EQ(pref.preference, 2);
  EXPECT_EQ(pref.sync_type, 0);
}

TEST_F(Configure, ActionChoiceOffersSettingsAndNotHandheldOverwritesDesktop) {
  int settings_shown = 0;
  ThcdCfgConduitInfo info = ZeroInfo(2);  // asks for the action that is not offered
  dialogs_.Script({"data check 2 ok"});
  RunHotSyncActionChoice(info, [&] { ++settings_shown; });
  EXPECT_EQ(settings_shown, 1);
  EXPECT_NE(LastShown().find("|group=HotSync Action for Untitled|enabled=1101|checked=1000|default=0|"
                             "data=Settings ...@316,196|about=-"),
            std::string::npos)
      << LastShown();
  EXPECT_EQ(info.syncNew, 0) << "the disabled action could not be chosen";
  EXPECT_EQ(info.syncPref, 2);
}

TEST(ConfigureWithoutComponent, EntryPointsAnswerMinusOne) {
  TestEnvironment env;
  ScriptedDialogs dialogs(env);
  ThcdCfgConduitInfo info = ZeroInfo(0);
  uint32_t size = 352;
  EXPECT_EQ(CfgConduit(0, &info, &size), -1);
  SyncPreference pref{};
  pref.sync_type = 3;
  EXPECT_EQ(ConfigureConduit(&pref), -1);
  EXPECT_EQ(pref.sync_type, 3);
}

}  // namespace
}  // namespace kestro
