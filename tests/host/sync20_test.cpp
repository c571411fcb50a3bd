// The Sync Manager as the conduit sees it: open modes, record walks, writes,
// purges, app-info blocks, and bad arguments answered with codes.
#include <gtest/gtest.h>

#include "sync_manager_client.h"

namespace kestro::testing {
namespace {

using hostapi::kOpenRead;
using hostapi::kOpenWrite;
using hostapi::kSyncErrAlreadyOpen;
using hostapi::kSyncErrNotFound;

class Sync20 : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sm.library.IsLoaded()) << sm.library.Error(); }
  uint8_t OpenRw(const char* name) {
    uint8_t h = 0;
    EXPECT_EQ(sm.SyncOpenDB(name, 0, &h, kOpenRead | kOpenWrite), 0);
    return h;
  }
  TestEnvironment env;
  SyncManagerClient sm;
};

TEST_F(Sync20, WrittenRecordsGetUniqueIdsAndSurviveReopening) {
  uint8_t h = sm.Create("KestroDB");
  uint32_t a = sm.Write(h, "alpha");
  uint32_t b = sm.Write(h, "beta", 0, 0x40, 3);
  uint32_t c = sm.Write(h, std::string("g\0mma", 5));
  EXPECT_NE(a, 0u);
  EXPECT_LE(a, 0xFFFFFFu);
  EXPECT_NE(a, b);
  EXPECT_NE(b, c);
  EXPECT_NE(a, c);
  ASSERT_EQ(sm.SyncCloseDB(h), 0);

  h = OpenRw("KestroDB");
  uint16_t count = 0;
  ASSERT_EQ(sm.SyncGetDBRecordCount(h, &count), 0);
  EXPECT_EQ(count, 3);
  auto second = sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 1);
  ASSERT_EQ(second.result, 0);
  EXPECT_EQ(second.data, "beta");
  EXPECT_EQ(+second.record.record_id, b);
  EXPECT_EQ(second.record.attributes, 0x40);
  EXPECT_EQ(+second.record.category, 3);
  auto third = sm.ReadWith(sm.SyncReadRecordById, h, c);
  ASSERT_EQ(third.result, 0);
  EXPECT_EQ(third.data, std::string("g\0mma", 5));
  EXPECT_EQ(+third.record.index, 2);
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 3).result, kSyncErrNotFound);
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordById, h, 0x123456).result, kSyncErrNotFound);
  EXPECT_EQ(sm.SyncCloseDB(h), 0);
}

TEST_F(Sync20, OpenAnswersDeviceCodes) {
  uint8_t h = 0;
  EXPECT_EQ(sm.SyncOpenDB("Missing", 0, &h, kOpenRead), kSyncErrNotFound);
  uint8_t created = sm.Create("KestroDB");
  EXPECT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead), kSyncErrAlreadyOpen);
  EXPECT_EQ(sm.SyncDeleteDB("KestroDB", 0), kSyncErrAlreadyOpen);
  ASSERT_EQ(sm.SyncCloseDB(created), 0);
  EXPECT_EQ(sm.SyncCloseDB(created), 16393) << "closing twice";
  // Names are exact: another case is another database.
  EXPECT_EQ(sm.SyncOpenDB("kestrodb", 0, &h, kOpenRead), kSyncErrNotFound);

  ASSERT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead), 0);
  int32_t result = 0;
  sm.Write(h, "x", 0, 0, 0, &result);
  EXPECT_EQ(result, 16400) << "a write through a read-only handle";
  EXPECT_EQ(sm.SyncPurgeAllRecs(h), 16400);
  ASSERT_EQ(sm.SyncCloseDB(h), 0);

  SyncCreateDbBlock again{};
  std::snprintf(again.name, sizeof again.name, "KestroDB");
  EXPECT_EQ(sm.SyncCreateDB(&again), 16391) << "the name is taken";
  EXPECT_EQ(sm.SyncDeleteDB("KestroDB", 0), 0);
  EXPECT_EQ(sm.SyncDeleteDB("KestroDB", 0), kSyncErrNotFound);
  EXPECT_EQ(sm.SyncOpenDB("KestroDB", 0, &h, kOpenRead), kSyncErrNotFound);
}

TEST_F(Sync20, WriteWithExistingIdReplacesInPlace) {
  uint8_t h = sm.Create("KestroDB");
  uint32_t a = sm.Write(h, "one");
  uint32_t b = sm.Write(h, "two");
  EXPECT_EQ(sm.Write(h, "TWO!", b, 0x10, 2), b);
  uint16_t count = 0;
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 2);
  auto read = sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 1);
  EXPECT_EQ(read.data, "TWO!");
  EXPECT_EQ(read.record.attributes, 0x10);
  EXPECT_EQ(+read.record.category, 2);
  EXPECT_EQ(+sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 0).record.record_id, a);
  // A fresh ID never repeats one in use, even after the record is deleted.
  SyncRawRecord del{};
  del.handle = h;
  del.record_id = a;
  ASSERT_EQ(sm.SyncDeleteRec(&del), 0);
  EXPECT_EQ(sm.SyncDeleteRec(&del), kSyncErrNotFound);
  uint32_t c = sm.Write(h, "three");
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
  sm.SyncCloseDB(h);
}

TEST_F(Sync20, WalksShareOneCursorThatResetRestarts) {
  uint8_t h = sm.Create("Walk");
  // index: 0 clean cat 1, 1 dirty cat 2, 2 dirty cat 1, 3 clean cat 1, 4 deleted+dirty cat 1
  uint32_t r0 = sm.Write(h, "r0", 0, 0x00, 1);
  uint32_t r1 = sm.Write(h, "r1", 0, 0x40, 2);
  uint32_t r2 = sm.Write(h, "r2", 0, 0x40, 1);
  uint32_t r3 = sm.Write(h, "r3", 0, 0x00, 1);
  uint32_t r4 = sm.Write(h, "", 0, 0xC0, 1);
  auto ids = [&](int32_t (*fn)(SyncRawRecord*), int16_t category) {
    std::vector<uint32_t> out;
    for (int guard = 0; guard < 10; ++guard) {
      auto read = sm.ReadWith(fn, h, 0, 0, category);
      if (read.result == kSyncErrNotFound) break;
      EXPECT_EQ(read.result, 0);
      out.push_back(uint32_t{read.record.record_id});
    }
    sm.SyncResetRecordIndex(h);
    return out;
  };
  EXPECT_EQ(ids(sm.SyncReadNextRecInCategory, 1), (std::vector<uint32_t>{r0, r2, r3, r4}));
  EXPECT_EQ(ids(sm.SyncReadNextModifiedRec, 0), (std::vector<uint32_t>{r1, r2, r4}));
  EXPECT_EQ(ids(sm.SyncReadNextModifiedRecInCategory, 1), (std::vector<uint32_t>{r2, r4}));

  // The cursor is shared between walks and untouched by reads by index or ID.
  EXPECT_EQ(+sm.ReadWith(sm.SyncReadNextRecInCategory, h, 0, 0, 1).record.record_id, r0);
  EXPECT_EQ(+sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 4).record.record_id, r4);
  EXPECT_EQ(+sm.ReadWith(sm.SyncReadNextModifiedRec, h).record.record_id, r1);
  EXPECT_EQ(+sm.ReadWith(sm.SyncReadNextRecInCategory, h, 0, 0, 1).record.record_id, r2);

  // A deleted record comes with its mark and no data.
  auto deleted = sm.ReadWith(sm.SyncReadRecordById, h, r4);
  EXPECT_EQ(deleted.record.attributes, 0xC0);
  EXPECT_EQ(+deleted.record.record_size, 0u);
  sm.SyncCloseDB(h);
}

TEST_F(Sync20, PurgesRemoveDeletedOrEverything) {
  uint8_t h = sm.Create("Purge");
  sm.Write(h, "keep");
  sm.Write(h, "", 0, 0x80);
  sm.Write(h, "archived", 0, 0x08);
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 2).record.attributes, 0x88);
  ASSERT_EQ(sm.SyncPurgeDeletedRecs(h), 0);
  uint16_t count = 0;
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordByIndex, h, 0, 0).data, "keep");
  ASSERT_EQ(sm.SyncPurgeAllRecs(h), 0);
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 0);
  sm.SyncCloseDB(h);
  h = OpenRw("Purge");
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 0);
  sm.SyncCloseDB(h);
}

TEST_F(Sync20, AppInfoBlockIsWrittenReadAndRemoved) {
  uint8_t h = sm.Create("Info");
  std::vector<uint8_t> buffer(65000);
  SyncDbInfoBlock info{};
  info.buffer = buffer.data();
  info.total_bytes = 65000;
  EXPECT_EQ(sm.SyncReadDBAppInfoBlock(h, &info), kSyncErrNotFound);
  std::string block = "category names";
  SyncDbInfoBlock write{};
  write.buffer = reinterpret_cast<uint8_t*>(block.data());
  write.total_bytes = static_cast<uint16_t>(block.size());
  ASSERT_EQ(sm.SyncWriteDBAppInfoBlock(h, &write), 0);
  sm.SyncCloseDB(h);
  h = OpenRw("Info");
  ASSERT_EQ(sm.SyncReadDBAppInfoBlock(h, &info), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.data()), info.bytes_read), block);
  info.total_bytes = 3;
  EXPECT_EQ(sm.SyncReadDBAppInfoBlock(h, &info), 16402) << "buffer too small";
  write.total_bytes = 0;
  ASSERT_EQ(sm.SyncWriteDBAppInfoBlock(h, &write), 0);
  info.total_bytes = 65000;
  EXPECT_EQ(sm.SyncReadDBAppInfoBlock(h, &info), kSyncErrNotFound);
  sm.SyncCloseDB(h);
}

TEST_F(Sync20, RecordSizeLimitIs65000Bytes) {
  uint8_t h = sm.Create("Big");
  int32_t result = -1;
  std::string largest(65000, 'x');
  uint32_t id = sm.Write(h, largest, 0, 0, 0, &result);
  EXPECT_EQ(result, 0);
  sm.Write(h, std::string(65001, 'y'), 0, 0, 0, &result);
  EXPECT_EQ(result, 16402);
  uint16_t count = 0;
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 1) << "the refused record is not written";
  EXPECT_EQ(sm.ReadWith(sm.SyncReadRecordById, h, id).data, largest);
  sm.SyncCloseDB(h);
}

TEST_F(Sync20, BadArgumentsAnswerCodesAndChangeNothing) {
  uint8_t h = sm.Create("KestroDB");
  sm.Write(h, "one");
  uint8_t out = 0;
  uint16_t count = 0;
  EXPECT_EQ(sm.SyncOpenDB(nullptr, 0, &out, kOpenRead), 16390);
  EXPECT_EQ(sm.SyncOpenDB("KestroDB", 0, nullptr, kOpenRead), 16390);
  EXPECT_EQ(sm.SyncOpenDB("", 0, &out, kOpenRead), 16390);
  EXPECT_EQ(sm.SyncOpenDB(std::string(40, 'n').c_str(), 0, &out, kOpenRead), 16390);
  EXPECT_EQ(sm.SyncCreateDB(nullptr), 16390);
  EXPECT_EQ(sm.SyncDeleteDB(nullptr, 0), 16390);
  EXPECT_EQ(sm.SyncGetDBRecordCount(h, nullptr), 16390);
  EXPECT_EQ(sm.SyncGetDBRecordCount(200, &count), 16393);
  for (auto fn : {sm.SyncReadRecordByIndex, sm.SyncReadRecordById, sm.SyncReadNextRecInCategory,
                  sm.SyncReadNextModifiedRec, sm.SyncReadNextModifiedRecInCategory, sm.SyncWriteRec,
                  sm.SyncDeleteRec}) {
    EXPECT_EQ(fn(nullptr), 16390);
    SyncRawRecord unknown{};
    unknown.handle = 77;
    EXPECT_EQ(fn(&unknown), 16393);
  }
  SyncRawRecord no_buffer{};
  no_buffer.handle = h;
  no_buffer.record_size = 10;
  EXPECT_EQ(sm.SyncWriteRec(&no_buffer), 16390);
  EXPECT_EQ(sm.SyncReadRecordByIndex(&no_buffer), 16390) << "a read into no buffer";
  int32_t result = 0;
  sm.Write(h, "cat", 0, 0, 16, &result);
  EXPECT_EQ(result, 16390) << "category 16";
  sm.Write(h, "id", 0x1000000, 0, 0, &result);
  EXPECT_EQ(result, 16390) << "an ID over 24 bits";
  EXPECT_EQ(sm.SyncPurgeAllRecs(9), 16393);
  EXPECT_EQ(sm.SyncResetRecordIndex(9), 16393);
  EXPECT_EQ(sm.SyncReadDBAppInfoBlock(h, nullptr), 16390);
  EXPECT_EQ(sm.SyncWriteDBAppInfoBlock(h, nullptr), 16390);
  EXPECT_EQ(sm.SyncRegisterConduit(nullptr), 16390);
  EXPECT_EQ(sm.SyncUnRegisterConduit(12345), 16406);
  sm.SyncGetDBRecordCount(h, &count);
  EXPECT_EQ(count, 1);
  sm.SyncCloseDB(h);
}

TEST_F(Sync20, ConduitRegistrationHandsOutHandles) {
  uint32_t a = 0, b = 0;
  ASSERT_EQ(sm.SyncRegisterConduit(&a), 0);
  ASSERT_EQ(sm.SyncRegisterConduit(&b), 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(sm.SyncUnRegisterConduit(a), 0);
  EXPECT_EQ(sm.SyncUnRegisterConduit(a), 16406);
  EXPECT_EQ(sm.SyncUnRegisterConduit(b), 0);
  EXPECT_EQ(sm.SyncYieldCycles(1), 0);
}

}  // namespace
}  // namespace kestro::testing
