// End-to-end runs of the real conduit library: a private test world (registry,
// host folder, HotSync log, simulated handheld), the settings pointing at a
// real favourites folder or bookmark file, the handheld's KestroDB prepared
// and read back through the stand-in Sync Manager, and OpenConduit called as
// the host calls it. Records are packed here from the record format, not with
// the conduit's own code.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/sync_manager_client.h"
#include "platform/dynamic_library.h"
#include "support/test_environment.h"

namespace kestro::testing {

constexpr uint8_t kUrl = 1, kClosed = 2, kVisible = 4, kNew = 8, kDeleted = 16, kModified = 32;
constexpr uint8_t kFav = kUrl | kVisible, kDir = kVisible;

struct HandheldRecord {
  std::string name;
  int32_t level = 0;
  uint8_t status = kFav;
  std::string url;
  int32_t parent = 0;  // as read; when preparing, worked out from the order
  uint32_t id = 0;
};

std::string PackRecord(const HandheldRecord& r);
HandheldRecord UnpackRecord(const std::string& data, uint32_t id);

class ConduitHarness {
 public:
  ConduitHarness();
  ~ConduitHarness();

  TestEnvironment& Env() { return env_; }
  // Settings: browser 0 with a favourites folder, 1 with a bookmark file.
  void UseStore(int32_t browser_type, const std::string& location);
  void WriteRegistry(const std::string& text);

  // Replaces KestroDB by these records in this order; each Parent is the ID
  // of the last folder before it one level up (unless parent is set).
  void PutHandheld(const std::vector<HandheldRecord>& records);
  // Adds a record of these bytes at the end of KestroDB, or writes over the
  // record with this ID, as the handheld's own program would; the record's ID.
  uint32_t WriteRawRecord(const std::string& bytes, uint32_t id = 0);
  // Each record's bytes, in order.
  std::vector<std::string> HandheldBytes();
  // KestroDB's records in order; empty when there is no database.
  std::vector<HandheldRecord> Handheld();
  bool HandheldExists();
  // Records without their IDs: "name|level|status|url|index of the folder".
  std::vector<std::string> HandheldShape();
  // TreeProblem of the handheld's records.
  std::string TreeProblem();

  // One HotSync of the conduit: OpenConduit's result.
  int32_t Sync(int32_t sync_type, const std::string& user = "");
  // What the host does when a HotSync session ends, here after a lost link:
  // every database still open on the handheld is closed.
  void EndSession();
  std::vector<std::string> LogLines() { return env_.LogLines(); }
  std::string StateFile(int32_t browser_type);

  SyncManagerClient& SyncManager() { return sync_; }

 private:
  TestEnvironment env_;
  SyncManagerClient sync_;
  std::unique_ptr<platform::DynamicLibrary> conduit_;
};

// Empty when the records are depth-first, each Level its folder's + 1 and
// each Parent its folder's ID (0 at the top); else what is wrong.
std::string TreeProblem(const std::vector<HandheldRecord>& records);

// The desktop as text, for comparing: a favourites folder as one line per
// entry ("dir path" / "url path=URL"), a file as its bytes.
std::string DescribeFavoritesFolder(const std::string& root);
std::string FileBytes(const std::string& path);
bool WriteShortcut(const std::string& file, const std::string& url);

}  // namespace kestro::testing
