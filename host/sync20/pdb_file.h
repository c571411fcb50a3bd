// A handheld record database as it sits in a standard .pdb file (big-endian
// header, 8-byte record entries, app-info and sort-info blocks, record data).
// ParsePdb checks every offset and length before it trusts one, so a damaged
// file is refused with a reason rather than read past its end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro::host {

// Record attribute bits as the file stores them; the low nibble is the
// category.
constexpr uint8_t kRecDelete = 0x80;
constexpr uint8_t kRecDirty = 0x40;
constexpr uint8_t kRecBusy = 0x20;
constexpr uint8_t kRecSecret = 0x10;
constexpr uint8_t kRecCategoryMask = 0x0F;

constexpr uint16_t kDbResource = 0x0001;  // resource databases (.prc) are not record databases
constexpr uint16_t kDbOpen = 0x8000;      // "not closed properly"; only the system sets it

constexpr std::size_t kPdbHeaderSize = 78;
constexpr uint32_t kMaxUniqueId = 0xFFFFFF;

struct PdbRecord {
  uint8_t attributes = 0;  // the stored byte: flags and category
  uint32_t id = 0;         // 24-bit unique ID
  std::string data;
};

struct PdbDatabase {
  std::string name;  // at most 31 bytes
  uint16_t attributes = 0;
  uint16_t version = 0;
  uint32_t creation_date = 0;  // seconds since 1904-01-01
  uint32_t modification_date = 0;
  uint32_t backup_date = 0;
  uint32_t modification_number = 0;
  uint32_t type = 0;
  uint32_t creator = 0;
  uint32_t unique_id_seed = 0;
  std::string app_info;
  std::string sort_info;
  std::vector<PdbRecord> records;
};

// Reads a whole file image; nullopt with a one-line reason when it is not a
// sound record database.
std::optional<PdbDatabase> ParsePdb(std::string_view bytes, std::string* error = nullptr);
// The file image of a database.
std::string SerializePdb(const PdbDatabase& db);
// The database name in the first 32 bytes of a file image, if it has one.
std::optional<std::string> PdbNameOf(std::string_view head);

// Now, in seconds since 1904-01-01 (the handheld's clock).
uint32_t HandheldNow();

// Big-endian helpers shared with the journal.
void PutU16(std::string& out, uint16_t v);
void PutU32(std::string& out, uint32_t v);
uint16_t GetU16(std::string_view in, std::size_t at);
uint32_t GetU32(std::string_view in, std::size_t at);

}  // namespace kestro::host
