#include "pdb_file.h"

#include <ctime>

namespace kestro::host {

void PutU16(std::string& out, uint16_t v) {
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v & 0xFF);
}

void PutU32(std::string& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v >> 16));
  PutU16(out, static_cast<uint16_t>(v & 0xFFFF));
}

uint16_t GetU16(std::string_view in, std::size_t at) {
  return static_cast<uint16_t>((static_cast<uint8_t>(in[at]) << 8) | static_cast<uint8_t>(in[at + 1]));
}

uint32_t GetU32(std::string_view in, std::size_t at) {
  return (static_cast<uint32_t>(GetU16(in, at)) << 16) | GetU16(in, at + 2);
}

uint32_t HandheldNow() {
  constexpr int64_t kEpochOffset = 2082844800;  // 1904-01-01 to 1970-01-01
  return static_cast<uint32_t>(static_cast<int64_t>(std::time(nullptr)) + kEpochOffset);
}

std::optional<std::string> PdbNameOf(std::string_view head) {
  if (head.size() < 32) return std::nullopt;
  std::size_t end = head.substr(0, 32).find('\0');
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(head.substr(0, end));
}

std::optional<PdbDatabase> ParsePdb(std::string_view bytes, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<PdbDatabase> {
    if (error) *error = why;
    return std::nullopt;
  };
  if (bytes.size() < kPdbHeaderSize) return fail("the file is shorter than a database header");
  PdbDatabase db;
  auto name = PdbNameOf(bytes);
  if (!name) return fail("the database name is not terminated");
  db.name = *name;
  db.attributes = GetU16(bytes, 32);
  if (db.attributes & kDbResource) return fail("it is a resource database, not a record database");
  db.version = GetU16(bytes, 34);
  db.creation_date = GetU32(bytes, 36);
  db.modification_date = GetU32(bytes, 40);
  db.backup_date = GetU32(bytes, 44);
  db.modification_number = GetU32(bytes, 48);
  uint32_t app_info = GetU32(bytes, 52);
  uint32_t sort_info = GetU32(bytes, 56);
  db.type = GetU32(bytes, 60);
  db.creator = GetU32(bytes, 64);
  db.unique_id_seed = GetU32(bytes, 68);
  if (GetU32(bytes, 72) != 0) return fail("the record list is chained to another one");
  uint16_t count = GetU16(bytes, 76);
  const std::size_t list_end = kPdbHeaderSize + 8u * count;
  if (list_end > bytes.size()) return fail("the record list runs past the end of the file");
  const std::size_t size = bytes.size();

  std::vector<uint32_t> offsets(count);
  db.records.resize(count);
  for (uint16_t i = 0; i < count; ++i) {
    std::size_t at = kPdbHeaderSize + 8u * i;
    offsets[i] = GetU32(bytes, at);
    db.records[i].attributes = static_cast<uint8_t>(bytes[at + 4]);
    db.records[i].id = GetU32(bytes, at + 4) & kMaxUniqueId;
    if (offsets[i] < list_end || offsets[i] > size) return fail("a record lies outside the file");
    if (i > 0 && offsets[i] < offsets[i - 1]) return fail("the records are out of order");
  }
  const std::size_t data_start = count ? offsets[0] : size;
  // Each block runs to the next thing in the file.
  if (app_info != 0) {
    std::size_t end = sort_info != 0 ? sort_info : data_start;
    if (app_info < list_end || app_info > end || end > size) return fail("the app-info block lies outside the file");
    db.app_info = std::string(bytes.substr(app_info, end - app_info));
  }
  if (sort_info != 0) {
    if (sort_info < list_end || sort_info > data_start || (app_info != 0 && sort_info < app_info))
      return fail("the sort-info block lies outside the file");
    db.sort_info = std::string(bytes.substr(sort_info, data_start - sort_info));
  }
  for (uint16_t i = 0; i < count; ++i) {
    std::size_t end = i + 1 < count ? offsets[i + 1] : size;
    db.records[i].data = std::string(bytes.substr(offsets[i], end - offsets[i]));
  }
  return db;
}

std::string SerializePdb(const PdbDatabase& db) {
  const std::size_t count = db.records.size();
  std::string out;
  std::size_t total = kPdbHeaderSize + 8 * count + 2 + db.app_info.size() + db.sort_info.size();
  for (const PdbRecord& r : db.records) total += r.data.size();
  out.reserve(total);
  std::string name = db.name.substr(0, 31);
  out += name;
  out.append(32 - name.size(), '\0');
  PutU16(out, db.attributes);
  PutU16(out, db.version);
  PutU32(out, db.creation_date);
  PutU32(out, db.modification_date);
  PutU32(out, db.backup_date);
  PutU32(out, db.modification_number);
  uint32_t offset = static_cast<uint32_t>(kPdbHeaderSize + 8 * count + 2);
  PutU32(out, db.app_info.empty() ? 0 : offset);
  offset += static_cast<uint32_t>(db.app_info.size());
  PutU32(out, db.sort_info.empty() ? 0 : offset);
  offset += static_cast<uint32_t>(db.sort_info.size());
  PutU32(out, db.type);
  PutU32(out, db.creator);
  PutU32(out, db.unique_id_seed);
  PutU32(out, 0);
  PutU16(out, static_cast<uint16_t>(count));
  for (const PdbRecord& r : db.records) {
    PutU32(out, offset);
    PutU32(out, (static_cast<uint32_t>(r.attributes) << 24) | (r.id & kMaxUniqueId));
    offset += static_cast<uint32_t>(r.data.size());
  }
  PutU16(out, 0);  // the placeholder after the record list
  out += db.app_info;
  out += db.sort_info;
  for (const PdbRecord& r : db.records) out += r.data;
  return out;
}

}  // namespace kestro::host
