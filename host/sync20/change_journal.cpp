#include "change_journal.h"

#include <algorithm>
#include <array>

namespace kestro::host {
namespace {

constexpr uint8_t kHeaderKind = 0;
constexpr uint32_t kMagic = 0x4B4A4E31;  // "KJN1"

std::string Frame(const std::string& payload) {
  std::string out;
  PutU32(out, static_cast<uint32_t>(payload.size()));
  PutU32(out, Crc32(payload));
  return out + payload;
}

// Splits a journal into the payloads of its sound entries.
std::vector<std::string_view> Entries(std::string_view journal) {
  std::vector<std::string_view> entries;
  std::size_t at = 0;
  while (journal.size() - at >= 8) {
    uint32_t length = GetU32(journal, at);
    uint32_t crc = GetU32(journal, at + 4);
    if (length > journal.size() - at - 8) break;
    std::string_view payload = journal.substr(at + 8, length);
    if (Crc32(payload) != crc) break;
    entries.push_back(payload);
    at += 8 + length;
  }
  return entries;
}

std::optional<Change> DecodeChange(std::string_view p) {
  if (p.empty()) return std::nullopt;
  Change c;
  c.kind = static_cast<Change::Kind>(static_cast<uint8_t>(p[0]));
  switch (c.kind) {
    case Change::kWrite:
      if (p.size() < 10) return std::nullopt;
      c.id = GetU32(p, 1);
      c.attributes = static_cast<uint8_t>(p[5]);
      c.seed = GetU32(p, 6);
      c.data = std::string(p.substr(10));
      return c;
    case Change::kDelete:
      if (p.size() != 5) return std::nullopt;
      c.id = GetU32(p, 1);
      return c;
    case Change::kPurgeAll:
    case Change::kPurgeDeleted:
      return p.size() == 1 ? std::optional<Change>(c) : std::nullopt;
    case Change::kAppInfo:
      c.data = std::string(p.substr(1));
      return c;
  }
  return std::nullopt;
}

}  // namespace

uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) crc = table[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void ApplyChange(PdbDatabase& db, RecordIndex& index, Change change) {
  auto& records = db.records;
  switch (change.kind) {
    case Change::kWrite: {
      int at = index.Find(change.id);
      if (at >= 0) {
        records[at].attributes = change.attributes;
        records[at].data = std::move(change.data);
      } else {
        records.push_back(PdbRecord{change.attributes, change.id, std::move(change.data)});
        index.Appended(change.id, records.size() - 1);
      }
      db.unique_id_seed = change.seed;
      break;
    }
    case Change::kDelete: {
      int at = index.Find(change.id);
      if (at >= 0) {
        records.erase(records.begin() + at);
        index.Erased(change.id, records, static_cast<std::size_t>(at));
      }
      break;
    }
    case Change::kPurgeAll:
      records.clear();
      index.Rebuild(records);
      break;
    case Change::kPurgeDeleted:
      std::erase_if(records, [](const PdbRecord& r) { return (r.attributes & kRecDelete) != 0; });
      index.Rebuild(records);
      break;
    case Change::kAppInfo:
      db.app_info = std::move(change.data);
      break;
  }
}

std::string JournalHeader(std::string_view base_image) {
  std::string payload(1, static_cast<char>(kHeaderKind));
  PutU32(payload, kMagic);
  PutU32(payload, static_cast<uint32_t>(base_image.size()));
  PutU32(payload, Crc32(base_image));
  return Frame(payload);
}

std::string EncodeChange(const Change& c) {
  std::string payload(1, static_cast<char>(c.kind));
  switch (c.kind) {
    case Change::kWrite:
      PutU32(payload, c.id);
      payload += static_cast<char>(c.attributes);
      PutU32(payload, c.seed);
      payload += c.data;
      break;
    case Change::kDelete:
      PutU32(payload, c.id);
      break;
    case Change::kPurgeAll:
    case Change::kPurgeDeleted:
      break;
    case Change::kAppInfo:
      payload += c.data;
      break;
  }
  return Frame(payload);
}

std::optional<std::vector<Change>> ReadJournal(std::string_view journal,
                                               std::string_view base_image) {
  auto entries = Entries(journal);
  if (entries.empty()) return std::nullopt;
  std::string_view head = entries[0];
  if (head.size() != 13 || static_cast<uint8_t>(head[0]) != kHeaderKind ||
      GetU32(head, 1) != kMagic)
    return std::nullopt;
  if (GetU32(head, 5) != base_image.size() || GetU32(head, 9) != Crc32(base_image))
    return std::nullopt;
  std::vector<Change> changes;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    auto change = DecodeChange(entries[i]);
    if (!change) break;
    changes.push_back(std::move(*change));
  }
  return changes;
}

}  // namespace kestro::host
