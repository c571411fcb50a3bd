// The Sync Manager's state in one process: the databases open on the
// simulated handheld (one cursor each for the next-record walks) and the
// conduits registered. Every method checks its pointers and handle and
// answers a Sync Manager result code; none throws on bad input.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "handheld_database.h"
#include "hostapi/sync_manager.h"

namespace kestro::host {

class Session {
 public:
  static Session& Get();

  int32_t OpenDB(const char* name, int32_t card, uint8_t* handle, uint8_t mode);
  int32_t CloseDB(uint8_t handle);
  int32_t CreateDB(SyncCreateDbBlock* block);
  int32_t DeleteDB(const char* name, int32_t card);
  int32_t RecordCount(uint8_t handle, uint16_t* count);
  int32_t ReadByIndex(SyncRawRecord* record);
  int32_t ReadById(SyncRawRecord* record);
  int32_t ReadNextInCategory(SyncRawRecord* record);
  int32_t ReadNextModified(SyncRawRecord* record);
  int32_t ReadNextModifiedInCategory(SyncRawRecord* record);
  int32_t WriteRec(SyncRawRecord* record);
  int32_t DeleteRec(SyncRawRecord* record);
  int32_t PurgeAll(uint8_t handle);
  int32_t PurgeDeleted(uint8_t handle);
  int32_t ResetRecordIndex(uint8_t handle);
  int32_t ReadAppInfo(uint8_t handle, SyncDbInfoBlock* info);
  int32_t WriteAppInfo(uint8_t handle, SyncDbInfoBlock* info);
  int32_t RegisterConduit(uint32_t* handle);
  int32_t UnRegisterConduit(uint32_t handle);

  // Folds and closes everything (at unload).
  void CloseAll();

 private:
  struct OpenDatabase {
    std::unique_ptr<HandheldDatabase> db;
    bool writable = false;
    std::size_t cursor = 0;  // next index the next-record walks look at
    bool reused = false;     // taken from last_closed_: not kept again at close
  };
  OpenDatabase* Find(uint8_t handle);
  int32_t Writable(uint8_t handle, OpenDatabase*& open);
  int32_t AddHandle(std::unique_ptr<HandheldDatabase> db, bool writable, uint8_t* handle);
  bool IsOpen(const std::string& path) const;
  // The database closed last, if nothing changed it while it was open and
  // its file is still as it was read; otherwise null.
  std::unique_ptr<HandheldDatabase> TakeUnchanged(const std::string& path);
  // Walks from the cursor to the next record that matches.
  int32_t ReadNext(SyncRawRecord* record, bool modified_only, bool in_category);

  std::map<uint8_t, OpenDatabase> open_;
  // A database closed without changes, kept so that opening it again (a
  // look for whether it exists, then the read) does not parse the file twice.
  // It is kept once only: held on after the read it would take its memory
  // through the rest of the run for an open that may never come.
  std::unique_ptr<HandheldDatabase> last_closed_;
  std::set<uint32_t> conduits_;
  uint32_t next_conduit_ = 1;
};

}  // namespace kestro::host
