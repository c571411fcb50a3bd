// One database of the simulated handheld, open on its .pdb file. Changes go
// to the write-ahead journal beside the file (one append per change, so a
// change is kept when the process dies right after the call) and are folded
// into the .pdb, replaced atomically, on Close or at the next open. The file
// itself is never rewritten in place, so it is never half-written. Methods
// answer Sync Manager result codes; they never throw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "change_journal.h"
#include "pdb_file.h"
#include "platform/append_file.h"
#include "record_index.h"

namespace kestro::host {

// Result codes of the simulated handheld beyond "not found".
constexpr int32_t kErrGeneral = 16385;       // the file could not be read or written
constexpr int32_t kErrParameter = 16390;     // a null pointer or an argument out of range
constexpr int32_t kErrExists = 16391;        // SyncCreateDB: the name is taken
constexpr int32_t kErrBadHandle = 16393;     // no database is open with this handle
constexpr int32_t kErrCannotOpen = 16394;    // the file is damaged or not a record database
constexpr int32_t kErrNotSupported = 16399;  // e.g. creating a resource database
constexpr int32_t kErrReadOnly = 16400;      // a change through a handle opened for reading
constexpr int32_t kErrFull = 16401;          // 65535 records, or no unique ID left
constexpr int32_t kErrTooLarge = 16402;      // a record over 65000 bytes, or a buffer too small
constexpr int32_t kErrTooManyOpen = 16405;   // every handle is in use

// The journal file beside a database file.
std::string JournalPathOf(const std::string& pdb_path);

class HandheldDatabase {
 public:
  // Opens the file, replaying and folding a journal that a stopped process
  // left behind. Answers 0, 16387 when the file is missing, kErrCannotOpen
  // when it is damaged (the file is left as it is).
  static int32_t Open(const std::string& pdb_path, std::unique_ptr<HandheldDatabase>& out,
                      std::string* why = nullptr);
  // Writes a new empty database file (replacing any stale journal).
  static int32_t Create(const std::string& pdb_path, const PdbDatabase& header,
                        std::unique_ptr<HandheldDatabase>& out);
  ~HandheldDatabase();  // folds, ignoring failures
  HandheldDatabase(const HandheldDatabase&) = delete;
  HandheldDatabase& operator=(const HandheldDatabase&) = delete;

  const PdbDatabase& Contents() const { return db_; }
  const std::string& Path() const { return path_; }
  // Index of the record with this ID, or -1.
  int FindIndex(uint32_t id) const;

  // Writes a record. id 0 takes a fresh unique ID (returned in id); an
  // existing ID is replaced in place; another ID is added with that ID.
  int32_t WriteRecord(uint32_t& id, uint8_t attributes, std::string_view data);
  int32_t DeleteRecord(uint32_t id);
  int32_t PurgeAll();
  int32_t PurgeDeleted();
  int32_t SetAppInfo(std::string_view block);

  // Folds the journal into the file; 0 or kErrGeneral.
  int32_t Fold();

  // True while the contents are exactly what was read from the file.
  bool UnchangedSinceRead() const { return as_read_; }
  // True when, besides, the file on disk is still those bytes and no journal
  // lies beside it: opening the file again would give these same contents.
  bool StillMatchesFile() const;

 private:
  HandheldDatabase() = default;
  int32_t Record(Change change);
  uint32_t FreshId() const;  // 0 when none is left

  std::string path_;
  PdbDatabase db_;
  RecordIndex index_;       // db_'s records by ID
  std::string base_image_;  // the file as it is on disk
  platform::AppendFile journal_;
  bool dirty_ = false;  // changes not yet folded
  bool as_read_ = false;  // contents unchanged since they were read from base_image_
};

}  // namespace kestro::host
