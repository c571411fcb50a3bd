// The identity and run entry points against a component of the test's own,
// with the stand-in host libraries loaded from the build's bin folder.
#include "conduit/exports.h"

#include <gtest/gtest.h>

#include <cstring>

#include "conduit/host_libraries.h"
#include "conduit/palm_component.h"
#include "palmdb/sync_errors.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

class Exports : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadHostLibraries();
    component_.SetConduitName("Kestro");
  }
  void TearDown() override { UnloadHostLibraries(); }

  testing::TestEnvironment env_;
  ThcdPalmComponent component_;
};

TEST_F(Exports, NameIsCutToTheBuffer) {
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(GetConduitName(buf, 4), 0);
  EXPECT_STREQ(buf, "Kes");
  EXPECT_EQ(buf[4], 'x') << "nothing written past the length";
  EXPECT_EQ(GetConduitName(buf, 8), 0);
  EXPECT_STREQ(buf, "Kestro");
  EXPECT_EQ(GetConduitVersion(), 256u);
}

TEST_F(Exports, ConduitInfoChecksInOrder) {
  uint32_t size = 4;
  uint32_t out = 0;
  EXPECT_EQ(GetConduitInfo(9, nullptr, nullptr, &size), 4209) << "output pointer before info type";
  EXPECT_EQ(GetConduitInfo(9, nullptr, &out, &size), 4208);
  EXPECT_EQ(GetConduitInfo(0, nullptr, &out, nullptr), 4215);
  EXPECT_EQ(GetConduitInfo(0, nullptr, &out, &size), 4212);

  hostapi::ConduitInfoRequest request{};
  request.version = 1;
  request.size = 84;
  EXPECT_EQ(GetConduitInfo(0, &request, &out, &size), 4213);
  request.version = 2;
  request.size = 80;
  EXPECT_EQ(GetConduitInfo(0, &request, &out, &size), 4213);

  request.version = 1;
  char name[8];
  std::memset(name, 'x', sizeof name);
  uint32_t name_size = 3;
  EXPECT_EQ(GetConduitInfo(0, &request, name, &name_size), 0);
  EXPECT_STREQ(name, "Ke");
  EXPECT_EQ(name_size, 3u) << "the output size is left as it was";

  for (int32_t type : {1, 2}) {
    uint32_t big = 8;
    EXPECT_EQ(GetConduitInfo(type, nullptr, &out, &big), 4211) << type;
  }
  EXPECT_EQ(GetConduitInfo(1, nullptr, &out, &size), 0);
  EXPECT_EQ(out, 0x10000000u);
  out = 77;
  EXPECT_EQ(GetConduitInfo(2, nullptr, &out, &size), 0);
  EXPECT_EQ(out, 0u);
}

TEST_F(Exports, OpenConduitWithoutHandlerReturnsZeroAndLogsNothing) {
  ThcdSyncProperties props{};
  EXPECT_EQ(OpenConduit(nullptr, &props), 0);
  EXPECT_TRUE(env_.LogLines().empty());
}

TEST_F(Exports, OpenConduitClosesTheLogEntryByHowTheHandlerEnded) {
  ThcdSyncProperties props{};
  props.m_SyncType = 3;
  int32_t seen_type = -1;
  component_.OnExecConduit = [&](const ThcdSyncProperties& p) {
    seen_type = p.m_SyncType;
    AddConduitLogEntry("", hostapi::kActivitySyncStarted);
  };
  EXPECT_EQ(OpenConduit(nullptr, &props), 0);
  EXPECT_EQ(seen_type, 3);
  EXPECT_EQ(env_.LogLines(), (std::vector<std::string>{"19|", "20|Kestro"})) << "the missing 20 is added";

  component_.OnExecConduit = [](const ThcdSyncProperties&) {
    AddConduitLogEntry("", hostapi::kActivitySyncStarted);
    throw EPalmSyncError(16396);
  };
  EXPECT_EQ(OpenConduit(nullptr, &props), 16396);
  EXPECT_EQ(env_.LogLines().back(), "21|Kestro");
  EXPECT_FALSE(component_.SyncStarted());

  component_.OnExecConduit = [](const ThcdSyncProperties&) {
    AddConduitLogEntry("", hostapi::kActivitySyncStarted);
    throw EAbort();
  };
  std::size_t before = env_.LogLines().size();
  EXPECT_EQ(OpenConduit(nullptr, &props), -1);
  EXPECT_EQ(env_.LogLines().size(), before + 1) << "only the 19: a silent abort adds no 21";
  EXPECT_TRUE(component_.SyncStarted()) << "and leaves the entry open";

  component_.OnExecConduit = [](const ThcdSyncProperties&) { throw Exception("plain"); };
  EXPECT_EQ(OpenConduit(nullptr, &props), -1);
  EXPECT_EQ(env_.LogLines().back(), "21|Kestro") << "the open entry from before is closed";
}

std::vector<std::string>* g_progress = nullptr;
void RecordProgress(const char* text) { g_progress->push_back(text); }

TEST_F(Exports, ProgressReachesTheHostOnlyDuringOpenConduit) {
  std::vector<std::string> progress;
  g_progress = &progress;
  component_.OnExecConduit = [this](const ThcdSyncProperties&) {
    EXPECT_EQ(component_.ProgressCallback(), &RecordProgress);
    component_.ReportProgress("Synchronising");
  };
  ThcdSyncProperties props{};
  EXPECT_EQ(OpenConduit(RecordProgress, &props), 0);
  EXPECT_EQ(progress, std::vector<std::string>{"Synchronising"});
  EXPECT_EQ(component_.ProgressCallback(), nullptr);
  component_.ReportProgress("after");
  EXPECT_EQ(progress.size(), 1u);
  EXPECT_EQ(component_.ProgressText(), "after");
}

TEST(ExportsWithoutComponent, EveryEntryAnswersItsFailureValue) {
  char buf[8];
  uint32_t size = 4, out = 0;
  ThcdSyncProperties props{};
  EXPECT_EQ(GetConduitName(buf, sizeof buf), -1);
  EXPECT_EQ(GetConduitVersion(), 0u);
  EXPECT_EQ(GetConduitInfo(1, nullptr, &out, &size), 1);
  EXPECT_EQ(OpenConduit(nullptr, &props), -1);
  EXPECT_EQ(DllGetClassObject(nullptr, nullptr, nullptr), static_cast<int32_t>(0x80040111u));
  EXPECT_EQ(DllCanUnloadNow(), 0);
}

}  // namespace
}  // namespace kestro
