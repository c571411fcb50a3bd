// The remote table against the simulated handheld: the favourites table's
// configuration, the walk and its host-call pattern, editing and posting,
// GotoRecordId, deleting, the whole-database operations, the app-info block
// and the guards. The host-call journal shows what reached the handheld.
#include "palmdb/remote_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "palmdb/sync_errors.h"
#include "palmdb/sync_manager.h"
#include "platform/environment.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

constexpr int32_t kLinkLost = 268461072;

struct Favourite {
  std::string name;
  int32_t parent;
  int32_t level;
  int32_t status;
  std::string url;
};

class RemoteTable : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetEnv("KESTRO_HOST_JOURNAL", env_.Path("journal.txt"));
    LoadSyncManager(testing::BinFolder());
    table_ = MakeTable();
  }
  void TearDown() override {
    table_.reset();
    UnloadSyncManager();
  }

  // The favourites table as the engine configures it.
  static std::unique_ptr<ThcdPalmRemoteTable> MakeTable() {
    auto t = std::make_unique<ThcdPalmRemoteTable>();
    t->SetTableName("KestroDB");
    t->SetCreatorID("Kstr");
    t->SetTableType("DATA");
    t->SetVersion(0);
    auto& defs = t->FieldDefs();
    defs.SetAlignment(0);
    defs.SetStrictFields(true);
    defs.Add("Name", ptString);
    defs.Add("Parent", ptLong);
    defs.Add("Level", ptWord);
    defs.Add("Status", ptByte);
    defs.Add("URL", ptString);
    return t;
  }

  void Append(const Favourite& f) {
    table_->Append();
    table_->FieldByName("Name").SetAsString(f.name);
    table_->FieldByName("Parent").SetAsInteger(f.parent);
    table_->FieldByName("Level").SetAsInteger(f.level);
    table_->FieldByName("Status").SetAsInteger(f.status);
    table_->FieldByName("URL").SetAsString(f.url);
    table_->Post();
  }

  // A closed database holding the names given.
  void Seed(std::initializer_list<const char*> names) {
    table_->CreateTable();
    int n = 0;
    for (const char* name : names) Append({name, 0, 1, n++, std::string("http://") + name});
    table_->Close();
  }

  std::vector<std::string> Journal() const { return testing::ReadLines(env_.Path("journal.txt")); }
  // Starts counting host calls from here.
  void Mark() { mark_ = Journal().size(); }
  std::vector<std::string> CallsSinceMark() const {
    auto lines = Journal();
    return std::vector<std::string>(
        lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark_, lines.size())), lines.end());
  }
  int CountSinceMark(const std::string& function) const {
    auto calls = CallsSinceMark();
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& line) {
      return line.rfind(function + "(", 0) == 0;
    }));
  }

  // Whether a journal line starts with `start` and holds `part`.
  bool Journaled(const std::string& start, const std::string& part) const {
    auto lines = Journal();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.rfind(start, 0) == 0 && line.find(part) != std::string::npos;
    });
  }

  std::string Name() { return table_->FieldByName("name").AsString(); }

  testing::TestEnvironment env_;
  std::unique_ptr<ThcdPalmRemoteTable> table_;
  std::size_t mark_ = 0;
};

template <typename E, typename F>
std::string MessageOfFailure(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "(nothing raised)";
}

TEST_F(RemoteTable, FavouritesRoundTripThroughTheHandheld) {
  Seed({});
  table_->Open();
  Append({"News", 3, 1, 5, "abc"});
  uint32_t id = table_->GetRecordId();
  EXPECT_NE(id, 0u);
  table_->Close();
  EXPECT_TRUE(Journaled("SyncWriteRec(", "size=16,"));

  auto reader = MakeTable();
  reader->Open();
  ASSERT_EQ(reader->RecordCount(), 1);
  EXPECT_EQ(reader->GetRecordId(), id);
  EXPECT_EQ(reader->FieldByName("NAME").AsString(), "News");
  EXPECT_EQ(reader->FieldByName("Parent").AsInteger(), 3);
  EXPECT_EQ(reader->FieldByName("Level").AsInteger(), 1);
  EXPECT_EQ(reader->FieldByName("Status").AsInteger(), 5);
  EXPECT_EQ(reader->FieldByName("URL").AsString(), "abc");
  EXPECT_EQ(reader->FindField("Nope"), nullptr);
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { reader->FieldByName("Nope"); }),
            "The specified field \"Nope\" was not found");
}

// A record too short for its fields does not stop a walk: moving onto it
// works, and reading or editing its fields raises, so nothing can write over
// it with empty values.
TEST_F(RemoteTable, AWalkPassesARecordThatDoesNotDecode) {
  table_->CreateTable();
  table_->Close();
  uint8_t handle = 0;
  ASSERT_EQ(SyncManager().SyncOpenDB("KestroDB", 0, &handle, hostapi::kOpenRead | hostapi::kOpenWrite), 0);
  uint8_t bytes[] = {'b', 0, 0, 0, 0};
  SyncRawRecord raw{};
  raw.handle = handle;
  raw.record_size = sizeof bytes;
  raw.buffer_size = sizeof bytes;
  raw.buffer = bytes;
  ASSERT_EQ(SyncManager().SyncWriteRec(&raw), 0);
  SyncManager().SyncCloseDB(handle);
  const uint32_t written_id = raw.record_id;  // the packed field, read once by value
  table_->Open();
  EXPECT_EQ(table_->GetRecordId(), written_id);
  EXPECT_NE(table_->DecodeFailure(), "");
  EXPECT_THROW(Name(), EPalmDBError);
  EXPECT_THROW(table_->Edit(), EPalmDBError);
  Append({"a", 0, 1, 5, "http://a/"});
  table_->Close();
  table_->Open();
  table_->Next();
  EXPECT_EQ(table_->DecodeFailure(), "");
  EXPECT_EQ(Name(), "a");
}

TEST_F(RemoteTable, FieldsAssignCopiesValuesThenMarks) {
  Seed({"a"});
  table_->Open();
  table_->SetRecordAttributes(0x40);
  table_->SetRecordCategory(7);
  auto copy = MakeTable();
  copy->SetTableName("Copy");
  copy->CreateTable();
  copy->Insert();
  copy->Fields().Assign(table_->Fields());
  EXPECT_EQ(copy->Values(), (RecordValues{"a", "0", "1", "0", "http://a"}));
  EXPECT_EQ(copy->GetRecordAttributes(), 0x40);
  EXPECT_EQ(copy->GetRecordCategory(), 7);
}

TEST_F(RemoteTable, FieldValuesByType) {
  table_->SetTableName("Types");
  table_->FieldDefs().Clear();
  const ThcdPalmFieldType types[] = {ptByte, ptWord, ptLong,     ptInt64,  ptSingle, ptDouble,
                                     ptDate, ptTime, ptDateTime, ptCustom, ptString};
  for (ThcdPalmFieldType type : types)
    table_->FieldDefs().Add("F" + std::to_string(int{type}), type, 3);
  table_->CreateTable();
  table_->Insert();
  const char* texts[] = {"200", "65535",      "-5",       "-9000000000",         "0.1",
                         "2.5", "2003-05-09", "08:30:00", "2003-05-09 08:30:00", "ab",
                         "xyz"};
  for (int i = 0; i < 11; ++i) table_->Fields().Field(i).SetAsString(texts[i]);
  table_->Post();
  table_->Close();
  table_->Open();
  auto field = [&](int i) { return table_->Fields().Field(i).AsVariant(); };
  EXPECT_EQ(field(0), Variant::Integer(200));
  EXPECT_EQ(field(1), Variant::Integer(65535));
  EXPECT_EQ(field(2), Variant::Integer(-5));
  EXPECT_EQ(field(3), Variant::Text("-9000000000"));
  EXPECT_EQ(field(4), Variant::Float(static_cast<double>(0.1f)));  // through single precision
  EXPECT_EQ(field(5), Variant::Float(2.5));
  EXPECT_EQ(field(6).ToText(), "2003-05-09");
  EXPECT_EQ(field(7).ToText(), "08:30:00");
  EXPECT_EQ(field(8).ToText(), "2003-05-09 08:30:00");
  EXPECT_EQ(field(9), Variant::Bytes({'a', 'b', 0}));
  EXPECT_EQ(field(10), Variant::Text("xyz"));
  EXPECT_EQ(table_->Fields().Field(1).AsInteger(), 65535);
  EXPECT_THROW(table_->Fields().Field(3).AsInteger(), EConvertError);  // beyond 32 bits
  // Every value read and written back unchanged gives the same record.
  auto before = LocalToRemoteRecord(*table_, table_->Options(), table_->Values());
  table_->Edit();
  for (int i = 0; i < 11; ++i) table_->Fields().Field(i).SetAsVariant(field(i));
  EXPECT_EQ(LocalToRemoteRecord(*table_, table_->Options(), table_->Values()), before);
}

TEST_F(RemoteTable, ExistsTellsWithoutOpening) {
  EXPECT_FALSE(table_->Exists());
  Seed({"a"});
  EXPECT_TRUE(table_->Exists());
  EXPECT_FALSE(table_->Active());
  table_->Open();
  Mark();
  EXPECT_TRUE(table_->Exists());
  EXPECT_TRUE(CallsSinceMark().empty());  // an open table knows
}

TEST_F(RemoteTable, CreateTableFillsTheCreateBlockAndLeavesTheTableOpen) {
  table_->SetTableName(std::string(40, 'N'));
  table_->SetTableAttributes({taCopyPrevention, taResetAfterInstall, taBackup});
  table_->CreateTable();
  auto lines = Journal();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().substr(0, lines.back().find(" -> ")),
            "SyncCreateDB(\"" + std::string(31, 'N') +
                "\", creator=0x4B737472, type=0x44415441, flags=0x68, "
                "version=0, card=0)");
  EXPECT_TRUE(table_->Active());
  EXPECT_EQ(table_->State(), tsBrowse);
  EXPECT_EQ(table_->GetRecordId(), 0u);
  Mark();
  table_->Open();  // already open: nothing happens
  EXPECT_TRUE(CallsSinceMark().empty());
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->CreateTable(); }),
            "The operation requires the table to be closed");
}

TEST_F(RemoteTable, OpeningAnEmptyDatabase) {
  Seed({});
  table_->Open();
  EXPECT_EQ(table_->State(), tsBrowse);
  EXPECT_EQ(table_->RecNo(), 0);
  EXPECT_EQ(table_->RecordCount(), 0);
  EXPECT_TRUE(table_->Eof());
  EXPECT_TRUE(table_->Bof());
  EXPECT_EQ(table_->GetRecordId(), 0u);
  EXPECT_EQ(table_->Values(), RecordValues(5));
}

TEST_F(RemoteTable, OpenFailureLeavesTheTableClosed) {
  int after_open = 0;
  table_->OnAfterOpen = [&](ThcdPalmTable&) { ++after_open; };
  EXPECT_EQ(MessageOfFailure<EPalmSyncError>([&] { table_->Open(); }),
            "Error 16387 :The requested database, record, resource, etc. could not be found.");
  EXPECT_FALSE(table_->Active());
  EXPECT_EQ(table_->State(), tsInactive);
  EXPECT_EQ(after_open, 0);
}

TEST_F(RemoteTable, WalkMakesOneCountQueryAndOneReadPerRecord) {
  Seed({"a", "b", "c"});
  table_->Open();
  Mark();
  std::vector<std::string> names;
  ASSERT_GT(table_->RecordCount(), 0);
  while (!table_->Eof()) {
    names.push_back(Name());
    table_->Next();
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(table_->RecNo(), 3);
  // Reads: one per record (the first came with the open, the last finds the
  // end). Counts: one per Eof, plus the first check and the end of the walk.
  EXPECT_EQ(CountSinceMark("SyncReadRecordByIndex"), 3);
  EXPECT_EQ(CountSinceMark("SyncGetDBRecordCount"), 3 + 3);
  EXPECT_EQ(CallsSinceMark().size(), 9u);

  Mark();
  table_->First();
  auto calls = CallsSinceMark();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].rfind("SyncResetRecordIndex(", 0), 0u);
  EXPECT_EQ(calls[1].rfind("SyncReadRecordByIndex(", 0), 0u);
  EXPECT_NE(calls[1].find("index=0"), std::string::npos);
  EXPECT_EQ(Name(), "a");
}

TEST_F(RemoteTable, NotificationsComeInOrder) {
  Seed({"a", "b"});
  std::vector<std::string> seen;
  auto note = [&](const char* what) {
    return [&seen, what](ThcdPalmTable&) { seen.push_back(what); };
  };
  table_->OnBeforeOpen = note("before open");
  table_->OnAfterOpen = note("after open");
  table_->OnBeforeRecChange = note("before change");
  table_->OnAfterRecChange = note("after change");
  table_->OnBeforeEdit = note("before edit");
  table_->OnAfterEdit = note("after edit");
  table_->OnBeforePost = note("before post");
  table_->OnAfterPost = note("after post");
  table_->OnBeforeDelete = note("before delete");
  table_->OnAfterDelete = note("after delete");
  table_->OnBeforeClose = note("before close");
  table_->OnAfterClose = note("after close");
  table_->Open();
  table_->Next();
  table_->Edit();
  table_->Post();
  table_->Delete();
  table_->Close();
  EXPECT_EQ(seen, (std::vector<std::string>{"before open", "after open", "before change",
                                            "after change", "before edit", "after edit",
                                            "before post", "after post", "before delete",
                                            "after delete", "before close", "after close"}));
}

TEST_F(RemoteTable, InsertPostEndsTheWalkAndNextStaysAtTheEnd) {
  Seed({"a", "b"});
  table_->Open();
  Append({"c", 0, 1, 0, "u"});
  EXPECT_NE(table_->GetRecordId(), 0u);
  EXPECT_EQ(table_->RecNo(), 3);
  EXPECT_TRUE(table_->Eof());
  table_->Next();
  EXPECT_EQ(table_->RecNo(), 3);
  EXPECT_TRUE(table_->Eof());
  EXPECT_EQ(table_->GetRecordId(), 0u);
}

TEST_F(RemoteTable, EditPostThenNextReadsTheSameRecordAgain) {
  Seed({"a", "b"});
  table_->Open();
  uint32_t id = table_->GetRecordId();
  table_->Edit();
  table_->FieldByName("Name").SetAsString("changed");
  table_->Post();
  EXPECT_EQ(table_->GetRecordId(), id);
  table_->Next();
  EXPECT_EQ(table_->RecNo(), 0);
  EXPECT_EQ(table_->GetRecordId(), id);
  EXPECT_EQ(Name(), "changed");
  table_->Next();
  EXPECT_EQ(Name(), "b");
}

TEST_F(RemoteTable, PostOrCancelOutsideEditingRaise) {
  Seed({"a"});
  table_->Open();
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->Post(); }),
            "The operation requires the table to be in edit or insert mode");
  EXPECT_THROW(table_->Cancel(), EPalmDBError);
  table_->Edit();
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->First(); }),
            "Cannot perform this operation whilst in edit mode");
  table_->Cancel();
  EXPECT_EQ(table_->State(), tsBrowse);
}

TEST_F(RemoteTable, UnparsableValueAtPostSendsNothingAndKeepsTheState) {
  Seed({});
  table_->Open();
  table_->Insert();
  table_->FieldByName("Name").SetAsString("x");
  table_->FieldByName("Parent").SetAsString("abc");
  Mark();
  EXPECT_THROW(table_->Post(), EConvertError);
  EXPECT_EQ(CountSinceMark("SyncWriteRec"), 0);
  EXPECT_EQ(table_->State(), tsInsert);
  table_->FieldByName("Parent").SetAsInteger(7);
  table_->Post();
  EXPECT_EQ(table_->State(), tsBrowse);
  EXPECT_EQ(table_->RecordCount(), 1);
}

TEST_F(RemoteTable, RecordsOverTheHandheldLimitAreNotSent) {
  Seed({});
  table_->Open();
  table_->Insert();
  table_->FieldByName("URL").SetAsString(std::string(65000, 'u'));
  Mark();
  EXPECT_THROW(table_->Post(), EPalmDBError);
  EXPECT_EQ(CountSinceMark("SyncWriteRec"), 0);
  EXPECT_EQ(table_->State(), tsInsert);
  table_->FieldByName("URL").SetAsString(std::string(64980, 'u'));
  table_->Post();
  table_->First();
  EXPECT_EQ(table_->FieldByName("URL").AsString().size(), 64980u);
}

TEST_F(RemoteTable, GotoRecordId) {
  Seed({"a", "b", "c"});
  table_->Open();
  table_->Next();
  table_->Next();
  uint32_t third = table_->GetRecordId();
  table_->First();
  Mark();
  EXPECT_TRUE(table_->GotoRecordId(table_->GetRecordId()));
  EXPECT_TRUE(CallsSinceMark().empty());

  EXPECT_TRUE(table_->GotoRecordId(third));
  EXPECT_EQ(table_->RecNo(), 2);
  EXPECT_EQ(Name(), "c");

  EXPECT_FALSE(table_->GotoRecordId(0xABCDE));
  EXPECT_EQ(table_->RecNo(), 0);
  EXPECT_EQ(table_->GetRecordId(), 0u);
}

TEST_F(RemoteTable, CategoryFilterWithModifiedWalksTheModifiedRecordsOfOneCategory) {
  table_->CreateTable();
  for (int category : {3, 1, 3}) {
    table_->Insert();
    table_->FieldByName("Name").SetAsString("c" + std::to_string(category));
    table_->Fields().SetCategory(static_cast<int8_t>(category));
    table_->Fields().SetAttributes(category == 3 && table_->RecordCount() == 0 ? 0x40 : 0);
    table_->Post();
  }
  table_->SetOptions({opModified});  // closes the table
  EXPECT_FALSE(table_->Active());
  table_->Open();  // the open's read already moved the handheld's own walk on
  table_->SetCategoryFilter(3);
  Mark();
  table_->First();  // restarts it
  auto calls = CallsSinceMark();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].rfind("SyncResetRecordIndex(", 0), 0u);
  EXPECT_EQ(calls[1].rfind("SyncReadNextModifiedRecInCategory(", 0), 0u);
  EXPECT_NE(calls[1].find("cat=3,"), std::string::npos);
  EXPECT_EQ(Name(), "c3");
  EXPECT_EQ(table_->GetRecordCategory(), 3);
  EXPECT_FALSE(table_->Eof());
  table_->Next();  // the other record of category 3 is not modified
  EXPECT_TRUE(table_->Eof());
  EXPECT_EQ(CountSinceMark("SyncReadNextModifiedRecInCategory"), 2);
  EXPECT_TRUE(Journaled("SyncReadNextModifiedRecInCategory(", "-> 16387"));

  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->SetCategoryFilter(15); }),
            "The category number \"15\" is invalid");
  table_->SetCategoryFilter(14);
  table_->SetCategoryFilter(-1);
  EXPECT_EQ(table_->CategoryFilter(), -1);
}

TEST_F(RemoteTable, CategoryMinusOneIsWrittenAsZero) {
  Seed({});
  table_->Open();
  table_->Insert();
  table_->SetRecordCategory(-1);
  Mark();
  table_->Post();
  ASSERT_EQ(CountSinceMark("SyncWriteRec"), 1);
  EXPECT_NE(CallsSinceMark()[0].find("cat=0,"), std::string::npos);
}

TEST_F(RemoteTable, DeleteMovesToTheNextRecord) {
  Seed({"a", "b", "c"});
  table_->Open();
  table_->Next();
  table_->Delete();
  EXPECT_EQ(Name(), "c");
  EXPECT_EQ(table_->RecordCount(), 2);
  table_->First();
  uint32_t first = table_->GetRecordId();
  table_->Next();
  table_->DeleteRecordId(first);  // not the current one: nothing is fetched
  EXPECT_EQ(Name(), "c");
  EXPECT_EQ(table_->RecordCount(), 1);
  table_->Last();
  EXPECT_TRUE(table_->Eof());
  table_->Next();
  EXPECT_EQ(table_->GetRecordId(), 0u);
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->Delete(); }),
            "The operation requires an active record");
}

TEST_F(RemoteTable, EmptyTableOnOpenAndClosedTables) {
  Seed({"a", "b"});
  table_->EmptyTable();
  EXPECT_FALSE(table_->Active());  // a closed table stays closed
  table_->Open();
  EXPECT_EQ(table_->RecordCount(), 0);
  Append({"c", 0, 1, 0, ""});
  table_->EmptyTable();
  EXPECT_TRUE(table_->Active());  // an open one stays open, at the start
  EXPECT_EQ(table_->RecNo(), 0);
  EXPECT_EQ(table_->GetRecordId(), 0u);
  EXPECT_EQ(table_->RecordCount(), 0);
  table_->Close();

  // A failed purge still closes the handle opened for it.
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncPurgeAllRecs:1:268461072");
  Mark();
  EXPECT_THROW(table_->EmptyTable(), EPalmSyncError);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  EXPECT_EQ(CountSinceMark("SyncCloseDB"), 1);
  table_->Open();
}

TEST_F(RemoteTable, SetRecNo) {
  Seed({"a", "b"});
  table_->Open();
  table_->SetRecNo(1);
  EXPECT_EQ(Name(), "b");
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->SetRecNo(3); }),
            "The Record Number \"3\" could not be found");
  EXPECT_THROW(table_->SetRecNo(-1), EPalmDBError);
  Mark();
  table_->SetRecNo(2);  // one past the last: the end, no read
  EXPECT_TRUE(table_->Eof());
  EXPECT_EQ(table_->GetRecordId(), 0u);
  EXPECT_EQ(table_->Values(), RecordValues(5));
  EXPECT_EQ(CountSinceMark("SyncReadRecordByIndex"), 0);
}

TEST_F(RemoteTable, FailedReadRaisesTheCodeAndKeepsTheMovedPosition) {
  Seed({"a", "b"});
  table_->Open();
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncReadRecordByIndex:1:268461072");
  try {
    table_->Next();
    FAIL() << "Next did not fail";
  } catch (const EPalmSyncError& e) {
    EXPECT_EQ(e.ErrorCode(), kLinkLost);
  }
  EXPECT_EQ(table_->RecNo(), 1);
  platform::UnsetEnv("KESTRO_HOST_FAULT");
}

TEST_F(RemoteTable, DestructionClosesQuietlyEvenWhenTheCloseFails) {
  Seed({"a"});
  table_->Open();
  platform::SetEnv("KESTRO_HOST_FAULT", "SyncCloseDB:1:268461072");
  EXPECT_NO_THROW(table_.reset());
  platform::UnsetEnv("KESTRO_HOST_FAULT");
  auto lines = Journal();
  EXPECT_EQ(lines.back().rfind("SyncCloseDB(", 0), 0u);
  EXPECT_NE(lines.back().find("(fault)"), std::string::npos);
}

TEST_F(RemoteTable, AppInfoBlockIsReadAtOpenAndWrittenAtClose) {
  Seed({});
  table_->Open();
  ThcdModifiedMemoryStream block;
  block.Write("prefs", 5);
  table_->LoadAppInfo(block);
  table_->Close();
  auto reader = MakeTable();
  reader->Open();
  const ThcdModifiedMemoryStream& read = reader->GetAppInfo();
  ASSERT_EQ(read.Size(), 5u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.Memory()), 5), "prefs");
  EXPECT_TRUE(read.Modified());
}

TEST_F(RemoteTable, PropertySettersAndTheirGuards) {
  Seed({"a"});
  table_->Open();
  EXPECT_THROW(table_->SetCreatorID("abc"), ECreatorIDError);
  EXPECT_FALSE(table_->Active());  // closed before the check
  EXPECT_EQ(table_->CreatorID(), "Kstr");
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->SetTableType("AB"); }),
            "The TableType \"AB\" is invalid");
  EXPECT_EQ(table_->TableType(), "DATA");

  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->FieldByName("Name").SetAsString("x"); }),
            "The operation requires the table to be open");
  EXPECT_THROW(table_->FieldByName("Name").AsString(), EPalmDBError);
  table_->SetDbSaving(true);
  table_->FieldByName("Name").SetAsString("kept");
  EXPECT_EQ(table_->Values()[0], "kept");
  table_->SetDbSaving(true);
  EXPECT_EQ(table_->Values()[0], "");  // turning it on empties the values

  table_->Open();
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->SetTableAttributes({taBackup}); }),
            "The operation requires the table to be closed");
  EXPECT_EQ(MessageOfFailure<ENotImplError>([&] { table_->Prior(); }), "Prior");
  table_->Close();

  table_->SetReadOnly(true);
  const std::size_t before_read_only = Journal().size();
  table_->Open();
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->FieldByName("Name").SetAsString("x"); }),
            "The database is read only");
  EXPECT_TRUE(Journaled("SyncOpenDB(\"KestroDB\", 0, mode=0x80)", ""));
  table_->Close();
  const auto lines = Journal();
  EXPECT_TRUE(std::none_of(lines.begin() + before_read_only, lines.end(), [](const std::string& line) {
    return line.rfind("SyncWriteDBAppInfoBlock(", 0) == 0;
  })) << "a read-only table writes nothing back";

  table_->SetDesigning(true);
  EXPECT_EQ(MessageOfFailure<EPalmDBError>([&] { table_->Open(); }),
            "The operation is only allowed at runtime");
}

}  // namespace
}  // namespace kestro
