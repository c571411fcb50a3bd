// The fault switch and the call journal, seen through the Sync Manager: the
// k-th call fails and is not carried out, nothing else fails, a sticky fault
// cuts every later call, and every call leaves one journal line.
#include <gtest/gtest.h>

#include "fault_plan.h"
#include "platform/environment.h"
#include "sync_manager_client.h"

namespace kestro::testing {
namespace {

constexpr int32_t kLinkLost = hostapi::kSyncErrLinkLost;

TEST(FaultPlan, ParsesEntriesAndRejectsMalformedOnes) {
  std::vector<std::string> bad;
  auto plan = host::ParseFaultPlan(
      "SyncWriteRec:5:268461072, SyncOpenDB:1:16387:sticky,LogAddEntry:2:-1,Cm:1:0x80004005,"
      "NoCount::1,Zero:0:1,Words:a:b,Extra:1:2:sometimes,:1:2",
      &bad);
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(plan[0].function, "SyncWriteRec");
  EXPECT_EQ(plan[0].call, 5);
  EXPECT_EQ(plan[0].code, kLinkLost);
  EXPECT_FALSE(plan[0].sticky);
  EXPECT_TRUE(plan[1].sticky);
  EXPECT_EQ(plan[2].code, -1);
  EXPECT_EQ(static_cast<uint32_t>(plan[3].code), 0x80004005u);
  EXPECT_EQ(bad, (std::vector<std::string>{"NoCount::1", "Zero:0:1", "Words:a:b", "Extra:1:2:sometimes", ":1:2"}));
}

TEST(FaultPlan, CountsEachFunctionOnItsOwn) {
  host::FaultPlan plan;
  plan.Reset(host::ParseFaultPlan("B:2:7,A:3:9:sticky"));
  std::vector<std::string> calls = {"A", "B", "A", "B", "A", "B", "C"};
  std::vector<int32_t> got;
  for (const auto& f : calls) got.push_back(plan.OnCall(f).value_or(0));
  EXPECT_EQ(got, (std::vector<int32_t>{0, 0, 0, 7, 9, 9, 9}));
}

class HostSwitches : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sm.library.IsLoaded());
  }
  TestEnvironment env;
  SyncManagerClient sm;
};

TEST_F(HostSwitches, OnlyTheKthCallFailsAndIsNotCarriedOut) {
  uint8_t h = sm.Create("KestroDB");
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncWriteRec:3:268461072");
  std::vector<int32_t> results;
  for (int i = 0; i < 5; ++i) {
    int32_t result = -1;
    sm.Write(h, "record " + std::to_string(i), 0, 0, 0, &result);
    results.push_back(result);
  }
  EXPECT_EQ(results, (std::vector<int32_t>{0, 0, kLinkLost, 0, 0}));
  uint16_t count = 0;
  EXPECT_EQ(sm.SyncGetDBRecordCount(h, &count), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 2).data, "record 3");
  EXPECT_EQ(sm.SyncCloseDB(h), 0);
}

TEST_F(HostSwitches, StickyFaultCutsEveryLaterCall) {
  uint8_t h = sm.Create("KestroDB");
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncWriteRec:2:268461072:sticky");
  EXPECT_NE(sm.Write(h, "one"), 0u);
  int32_t result = 0;
  sm.Write(h, "two", 0, 0, 0, &result);
  EXPECT_EQ(result, kLinkLost);
  uint16_t count = 0;
  EXPECT_EQ(sm.SyncGetDBRecordCount(h, &count), kLinkLost);
  EXPECT_EQ(sm.SyncCloseDB(h), kLinkLost);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  // The link is back. The handheld closed its databases when it went, and
  // kept what was completed before.
  EXPECT_EQ(sm.SyncGetDBRecordCount(h, &count), 16393);
  ASSERT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, hostapi::kOpenRead), 0);
  ASSERT_EQ(sm.SyncGetDBRecordCount(h, &count), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(sm.SyncCloseDB(h), 0);
}

TEST_F(HostSwitches, JournalHasOneLinePerCallWithArgumentsAndResult) {
  uint8_t h = sm.Create("KestroDB");
  uint32_t id = sm.Write(h, "abc", 0, 0x40, 2);
  uint8_t other = 0;
  sm.SyncOpenDB("Nope", 0, &other, 0x80);
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncCloseDB:1:-1");
  sm.SyncCloseDB(h);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  sm.SyncCloseDB(h);
  auto calls = env.HostCalls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].function, "SyncCreateDB");
  EXPECT_EQ(calls[0].result, 0);
  EXPECT_NE(calls[0].args.find("\"KestroDB\""), std::string::npos) << calls[0].args;
  EXPECT_EQ(calls[1].function, "SyncWriteRec");
  EXPECT_NE(calls[1].args.find("id=0"), std::string::npos) << calls[1].args;
  EXPECT_NE(calls[1].args.find("attr=0x40, cat=2, size=3"), std::string::npos) << calls[1].args;
  EXPECT_EQ(calls[1].out, "id=" + std::to_string(id) + " index=0");
  EXPECT_EQ(calls[2].function, "SyncOpenDB");
  EXPECT_EQ(calls[2].result, hostapi::kSyncErrNotFound);
  EXPECT_EQ(calls[3].result, -1);
  EXPECT_EQ(calls[3].out, "(fault)");
  EXPECT_EQ(calls[4].function, "SyncCloseDB");
  EXPECT_EQ(calls[4].result, 0) << "the faulted close did not close";
}

}  // namespace
}  // namespace kestro::testing
