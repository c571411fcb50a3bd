#include "palmdb/sync_manager.h"

#include <memory>

#include "base/exception.h"
#include "palmdb/sync_errors.h"
#include "platform/message_box.h"
#include "platform/process_paths.h"

namespace kestro {
namespace {

struct Binding {
  platform::DynamicLibrary library;
  SyncManagerFunctions functions;
};

Binding*& TheBinding() {
  static Binding* binding = nullptr;
  return binding;
}

}  // namespace

void LoadSyncManager(const std::string& folder) {
  UnloadSyncManager();
  std::string saved = platform::CurrentDirectory();
  if (!folder.empty()) platform::SetCurrentDirectory(folder);
  platform::DynamicLibrary library("sync20.dll");
  platform::SetCurrentDirectory(saved);
  if (!library.IsLoaded()) {
    platform::ShowMessageBox("hcdSyncMgr: Unable to load sync20.dll", "Error",
                             platform::MessageIcon::kError);
    throw EAbort();
  }
  auto binding = std::make_unique<Binding>();
  SyncManagerFunctions& f = binding->functions;
#define KESTRO_RESOLVE(name) \
  library.Require(f.name, #name, "Imports\\Conduits\\hcdSyncMgr", __LINE__)
  KESTRO_RESOLVE(SyncOpenDB);
  KESTRO_RESOLVE(SyncCloseDB);
  KESTRO_RESOLVE(SyncCreateDB);
  KESTRO_RESOLVE(SyncDeleteDB);
  KESTRO_RESOLVE(SyncGetDBRecordCount);
  KESTRO_RESOLVE(SyncReadRecordByIndex);
  KESTRO_RESOLVE(SyncReadRecordById);
  KESTRO_RESOLVE(SyncReadNextRecInCategory);
  KESTRO_RESOLVE(SyncReadNextModifiedRec);
  KESTRO_RESOLVE(SyncReadNextModifiedRecInCategory);
  KESTRO_RESOLVE(SyncWriteRec);
  KESTRO_RESOLVE(SyncDeleteRec);
  KESTRO_RESOLVE(SyncPurgeAllRecs);
  KESTRO_RESOLVE(SyncPurgeDeletedRecs);
  KESTRO_RESOLVE(SyncResetRecordIndex);
  KESTRO_RESOLVE(SyncReadDBAppInfoBlock);
  KESTRO_RESOLVE(SyncWriteDBAppInfoBlock);
  KESTRO_RESOLVE(SyncRegisterConduit);
  KESTRO_RESOLVE(SyncUnRegisterConduit);
  KESTRO_RESOLVE(SyncYieldCycles);
#undef KESTRO_RESOLVE
  binding->library = std::move(library);
  TheBinding() = binding.release();
}

void UnloadSyncManager() {
  delete TheBinding();
  TheBinding() = nullptr;
}

bool SyncManagerLoaded() { return TheBinding() != nullptr; }

const SyncManagerFunctions& SyncManager() {
  if (!TheBinding()) throw EPalmDBError("The Sync Manager library is not loaded");
  return TheBinding()->functions;
}

}  // namespace kestro
