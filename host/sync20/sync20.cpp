// The Sync Manager of the simulated handheld. Each export is a thin shim:
// it describes its arguments for the call journal, goes through HostCall
// (faults, journal, no exception across the edge) and lets the session of
// open databases do the work.
#include "base/text.h"
#include "host_call.h"
#include "hostapi/sync_manager.h"
#include "sync_session.h"

namespace {

using kestro::Format;
using kestro::host::HostCall;
using kestro::host::kErrGeneral;
using kestro::host::QuoteArg;
using kestro::host::Session;

std::string RecordArgs(const SyncRawRecord* r) {
  if (!r) return "null";
  return Format("handle=%u, id=%u, index=%u, attr=0x%02X, cat=%d, size=%u, bufsize=%u", r->handle,
                r->record_id, r->index, r->attributes, r->category, r->record_size, r->buffer_size);
}

std::string RecordOut(const SyncRawRecord* r) {
  return Format("id=%u index=%u attr=0x%02X cat=%d size=%u", r->record_id, r->index, r->attributes,
                r->category, r->record_size);
}

std::string InfoArgs(uint8_t handle, const SyncDbInfoBlock* info) {
  return Format("%u, ", handle) + (info ? Format("total=%u", info->total_bytes) : "null");
}

// Runs a read of one record and journals what it read.
int32_t ReadCall(const char* function, SyncRawRecord* record,
                 int32_t (Session::*read)(SyncRawRecord*)) {
  return HostCall(
      function, [&] { return RecordArgs(record); }, kErrGeneral,
      [&](std::string* out) {
        int32_t result = (Session::Get().*read)(record);
        if (result == 0 && out) *out = RecordOut(record);
        return result;
      });
}

// When the link is cut the handheld's side of the session ends: its open
// databases are closed, keeping every change that was completed.
const bool kClosesOnLinkLoss = (kestro::host::OnLinkLost([] { Session::Get().CloseAll(); }), true);

}  // namespace

KESTRO_HOST_API int32_t SyncOpenDB(const char* name, int32_t card, uint8_t* handle, uint8_t mode) {
  return HostCall(
      "SyncOpenDB",
      [&] { return Format("%s, %d, mode=0x%02X", QuoteArg(name).c_str(), card, mode); },
      kErrGeneral,
      [&](std::string* out) {
        int32_t result = Session::Get().OpenDB(name, card, handle, mode);
        if (result == 0 && out) *out = Format("handle=%u", *handle);
        return result;
      });
}

KESTRO_HOST_API int32_t SyncCloseDB(uint8_t handle) {
  return HostCall(
      "SyncCloseDB", [&] { return Format("%u", handle); }, kErrGeneral,
      [&](std::string*) { return Session::Get().CloseDB(handle); });
}

KESTRO_HOST_API int32_t SyncCreateDB(SyncCreateDbBlock* block) {
  auto args = [&] {
    if (!block) return std::string("null");
    return Format(
        "%s, creator=0x%08X, type=0x%08X, flags=0x%X, version=%u, card=%u",
        QuoteArg(std::string(kestro::FieldText(block->name, sizeof block->name)).c_str()).c_str(),
        block->creator, block->type, block->flags, block->version, block->card);
  };
  return HostCall("SyncCreateDB", args, kErrGeneral, [&](std::string* out) {
    int32_t result = Session::Get().CreateDB(block);
    if (result == 0 && out) *out = Format("handle=%u", block->handle);
    return result;
  });
}

KESTRO_HOST_API int32_t SyncDeleteDB(const char* name, int32_t card) {
  return HostCall(
      "SyncDeleteDB", [&] { return Format("%s, %d", QuoteArg(name).c_str(), card); }, kErrGeneral,
      [&](std::string*) { return Session::Get().DeleteDB(name, card); });
}

KESTRO_HOST_API int32_t SyncGetDBRecordCount(uint8_t handle, uint16_t* count) {
  return HostCall(
      "SyncGetDBRecordCount", [&] { return Format("%u", handle); }, kErrGeneral,
      [&](std::string* out) {
        int32_t result = Session::Get().RecordCount(handle, count);
        if (result == 0 && out) *out = Format("count=%u", *count);
        return result;
      });
}

KESTRO_HOST_API int32_t SyncReadRecordByIndex(SyncRawRecord* record) {
  return ReadCall("SyncReadRecordByIndex", record, &Session::ReadByIndex);
}
KESTRO_HOST_API int32_t SyncReadRecordById(SyncRawRecord* record) {
  return ReadCall("SyncReadRecordById", record, &Session::ReadById);
}
KESTRO_HOST_API int32_t SyncReadNextRecInCategory(SyncRawRecord* record) {
  return ReadCall("SyncReadNextRecInCategory", record, &Session::ReadNextInCategory);
}
KESTRO_HOST_API int32_t SyncReadNextModifiedRec(SyncRawRecord* record) {
  return ReadCall("SyncReadNextModifiedRec", record, &Session::ReadNextModified);
}
KESTRO_HOST_API int32_t SyncReadNextModifiedRecInCategory(SyncRawRecord* record) {
  return ReadCall("SyncReadNextModifiedRecInCategory", record,
                  &Session::ReadNextModifiedInCategory);
}

KESTRO_HOST_API int32_t SyncWriteRec(SyncRawRecord* record) {
  return HostCall(
      "SyncWriteRec", [&] { return RecordArgs(record); }, kErrGeneral,
      [&](std::string* out) {
        int32_t result = Session::Get().WriteRec(record);
        if (result == 0 && out) *out = Format("id=%u index=%u", record->record_id, record->index);
        return result;
      });
}

KESTRO_HOST_API int32_t SyncDeleteRec(SyncRawRecord* record) {
  return HostCall(
      "SyncDeleteRec", [&] { return RecordArgs(record); }, kErrGeneral,
      [&](std::string*) { return Session::Get().DeleteRec(record); });
}

KESTRO_HOST_API int32_t SyncPurgeAllRecs(uint8_t handle) {
  return HostCall(
      "SyncPurgeAllRecs", [&] { return Format("%u", handle); }, kErrGeneral,
      [&](std::string*) { return Session::Get().PurgeAll(handle); });
}

KESTRO_HOST_API int32_t SyncPurgeDeletedRecs(uint8_t handle) {
  return HostCall(
      "SyncPurgeDeletedRecs", [&] { return Format("%u", handle); }, kErrGeneral,
      [&](std::string*) { return Session::Get().PurgeDeleted(handle); });
}

KESTRO_HOST_API int32_t SyncResetRecordIndex(uint8_t handle) {
  return HostCall(
      "SyncResetRecordIndex", [&] { return Format("%u", handle); }, kErrGeneral,
      [&](std::string*) { return Session::Get().ResetRecordIndex(handle); });
}

KESTRO_HOST_API int32_t SyncReadDBAppInfoBlock(uint8_t handle, SyncDbInfoBlock* info) {
  return HostCall(
      "SyncReadDBAppInfoBlock", [&] { return InfoArgs(handle, info); }, kErrGeneral,
      [&](std::string* out) {
        int32_t result = Session::Get().ReadAppInfo(handle, info);
        if (result == 0 && out) *out = Format("read=%u", info->bytes_read);
        return result;
      });
}

KESTRO_HOST_API int32_t SyncWriteDBAppInfoBlock(uint8_t handle, SyncDbInfoBlock* info) {
  return HostCall(
      "SyncWriteDBAppInfoBlock", [&] { return InfoArgs(handle, info); }, kErrGeneral,
      [&](std::string*) { return Session::Get().WriteAppInfo(handle, info); });
}

KESTRO_HOST_API int32_t SyncRegisterConduit(uint32_t* handle) {
  return HostCall(
      "SyncRegisterConduit", [&] { return handle ? "out" : "null"; }, kErrGeneral,
      [&](std::string* out) {
        int32_t result = Session::Get().RegisterConduit(handle);
        if (result == 0 && out) *out = Format("handle=%u", *handle);
        return result;
      });
}

KESTRO_HOST_API int32_t SyncUnRegisterConduit(uint32_t handle) {
  return HostCall(
      "SyncUnRegisterConduit", [&] { return Format("%u", handle); }, kErrGeneral,
      [&](std::string*) { return Session::Get().UnRegisterConduit(handle); });
}

KESTRO_HOST_API int32_t SyncYieldCycles(uint16_t max_milliseconds) {
  return HostCall(
      "SyncYieldCycles", [&] { return Format("%u", max_milliseconds); }, kErrGeneral,
      [](std::string*) { return 0; });
}
