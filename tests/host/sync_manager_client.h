// The stand-in Sync Manager loaded from the build folder the way the conduit
// loads it, with its functions by name, for tests of the exported behaviour.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostapi/sync_manager.h"
#include "platform/dynamic_library.h"
#include "support/test_environment.h"

namespace kestro::testing {

struct SyncManagerClient {
  platform::DynamicLibrary library{BinFolder() + "sync20.dll"};
#define KESTRO_SYNC_FN(name) decltype(&::name) name = library.Function<decltype(&::name)>(#name)
  KESTRO_SYNC_FN(SyncOpenDB);
  KESTRO_SYNC_FN(SyncCloseDB);
  KESTRO_SYNC_FN(SyncCreateDB);
  KESTRO_SYNC_FN(SyncDeleteDB);
  KESTRO_SYNC_FN(SyncGetDBRecordCount);
  KESTRO_SYNC_FN(SyncReadRecordByIndex);
  KESTRO_SYNC_FN(SyncReadRecordById);
  KESTRO_SYNC_FN(SyncReadNextRecInCategory);
  KESTRO_SYNC_FN(SyncReadNextModifiedRec);
  KESTRO_SYNC_FN(SyncReadNextModifiedRecInCategory);
  KESTRO_SYNC_FN(SyncWriteRec);
  KESTRO_SYNC_FN(SyncDeleteRec);
  KESTRO_SYNC_FN(SyncPurgeAllRecs);
  KESTRO_SYNC_FN(SyncPurgeDeletedRecs);
  KESTRO_SYNC_FN(SyncResetRecordIndex);
  KESTRO_SYNC_FN(SyncReadDBAppInfoBlock);
  KESTRO_SYNC_FN(SyncWriteDBAppInfoBlock);
  KESTRO_SYNC_FN(SyncRegisterConduit);
  KESTRO_SYNC_FN(SyncUnRegisterConduit);
  KESTRO_SYNC_FN(SyncYieldCycles);
#undef KESTRO_SYNC_FN

  // Creates a database with KestroDB's creator and type; the handle.
  uint8_t Create(const std::string& name, uint32_t flags = 0) {
    SyncCreateDbBlock block{};
    block.creator = 0x4B737472;  // "Kstr"
    block.type = 0x44415441;     // "DATA"
    block.flags = flags;
    block.version = 1;
    std::snprintf(block.name, sizeof block.name, "%s", name.c_str());
    EXPECT_EQ(SyncCreateDB(&block), 0) << name;
    return block.handle;
  }

  // Writes a record; its assigned ID, or 0 with the code in result.
  uint32_t Write(uint8_t handle, const std::string& data, uint32_t id = 0, uint8_t attributes = 0,
                 int16_t category = 0, int32_t* result = nullptr) {
    SyncRawRecord r{};
    r.handle = handle;
    r.record_id = id;
    r.attributes = attributes;
    r.category = category;
    r.record_size = static_cast<uint32_t>(data.size());
    r.buffer_size = static_cast<uint16_t>(data.size() > 65535 ? 65535 : data.size());
    r.buffer = reinterpret_cast<uint8_t*>(const_cast<char*>(data.data()));
    int32_t code = SyncWriteRec(&r);
    if (result) *result = code;
    return code == 0 ? r.record_id : 0;
  }

  // What a read answered. The fields are copied out of the packed record so
  // that tests can compare them without binding to misaligned fields.
  struct ReadFields {
    uint32_t record_id = 0;
    uint16_t index = 0;
    uint8_t attributes = 0;
    int16_t category = 0;
    uint32_t record_size = 0;
  };
  struct Read {
    int32_t result = 0;
    ReadFields record;
    std::string data;
  };
  // Runs one of the read functions with a 65000-byte buffer.
  Read ReadWith(int32_t (*fn)(SyncRawRecord*), uint8_t handle, uint32_t id = 0, uint16_t index = 0,
                int16_t category = 0) {
    Read out;
    std::vector<uint8_t> buffer(hostapi::kMaxRecordSize);
    SyncRawRecord raw{};
    raw.handle = handle;
    raw.record_id = id;
    raw.index = index;
    raw.category = category;
    raw.buffer = buffer.data();
    raw.buffer_size = static_cast<uint16_t>(buffer.size());
    out.result = fn(&raw);
    out.record = {raw.record_id, raw.index, raw.attributes, raw.category, raw.record_size};
    if (out.result == 0) out.data.assign(reinterpret_cast<char*>(buffer.data()), raw.record_size);
    return out;
  }
};

}  // namespace kestro::testing
