#include "engine/recovery_file.h"

#include <unordered_map>

#include "base/text.h"
#include "engine/item_list.h"
#include "engine/restore_merge.h"
#include "engine/state_file.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro {
namespace {

constexpr char kMagic[] = "KRV2";
constexpr std::size_t kMagicSize = 4;
constexpr std::size_t kImageSize = sizeof(FavoriteItem);

bool KeepsItsByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, std::string_view text) {
  Put(out, static_cast<uint32_t>(text.size()), 2);
  out.append(text);
}

// FNV-1a: enough to tell a damaged file from a whole one.
uint32_t Checksum(std::string_view bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
  return hash;
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  uint32_t Get(int size) {
    Need(static_cast<std::size_t>(size));
    uint32_t v = 0;
    for (int i = 0; i < size; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += static_cast<std::size_t>(size);
    return v;
  }
  std::string_view Text(std::size_t limit) {
    std::size_t size = Get(2);
    if (size > limit) throw ERecoveryDamaged("a text is longer than its field");
    Need(size);
    std::string_view text = bytes_.substr(at_, size);
    at_ += size;
    return text;
  }
  std::size_t Left() const { return bytes_.size() - at_; }

 private:
  void Need(std::size_t size) const {
    if (bytes_.size() - at_ < size) throw ERecoveryDamaged("it ends before its last record");
  }
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

std::string RecoveryFilePath(const std::string& user_name) {
  std::string name = "KestroDB";
  if (!user_name.empty()) {
    name += '-';
    for (unsigned char c : user_name) name += KeepsItsByte(c) ? std::string(1, static_cast<char>(c)) : Format("%%%02X", c);
  }
  return platform::HostProgramFolder() + name + ".krv";
}

std::string PackRecovery(const FavoriteItemList& records) {
  std::string out(kMagic, kMagicSize);
  out.reserve(records.size() * 64);
  Put(out, static_cast<uint32_t>(records.size()), 4);
  for (const auto& r : records) {
    Put(out, static_cast<uint32_t>(r->RecID), 4);
    Put(out, static_cast<uint32_t>(r->Parent), 4);
    Put(out, static_cast<uint32_t>(r->Level), 4);
    Put(out, r->StatusAllFlags(), 1);
    PutText(out, r->NameText());
    PutText(out, r->URLText());
  }
  Put(out, Checksum(out), 4);
  return out;
}

FavoriteItemList UnpackRecovery(const std::string& bytes) {
  if (bytes.compare(0, kMagicSize, kMagic, kMagicSize) != 0) {
    // A file as earlier versions wrote it: whole item images, nothing else.
    if (bytes.empty() || bytes.size() % kImageSize != 0) throw ERecoveryDamaged("it is empty or not a recovery file");
    FavoriteItemList records = ItemsFromImages(bytes);
    for (const auto& r : records) {
      // What a handheld record can hold: flags of 0 or 1, a 16-bit Level.
      for (uint8_t flag : {r->isUrl, r->isClosed, r->isVisible, r->isNew, r->isDeleted, r->isModified}) {
        if (flag > 1) throw ERecoveryDamaged("a record holds what no handheld record can");
      }
      if (r->Level < 0 || r->Level > 0xFFFF) throw ERecoveryDamaged("a record holds what no handheld record can");
    }
    return records;
  }
  if (bytes.size() < kMagicSize + 8 ||
      Checksum(std::string_view(bytes).substr(0, bytes.size() - 4)) !=
          Reader(std::string_view(bytes).substr(bytes.size() - 4)).Get(4)) {
    throw ERecoveryDamaged("its checksum does not match");
  }
  Reader in(std::string_view(bytes).substr(kMagicSize, bytes.size() - kMagicSize - 4));
  const uint32_t count = in.Get(4);
  FavoriteItemList records;
  for (uint32_t i = 0; i < count; ++i) {
    auto r = NewFavoriteItem();
    r->RecID = static_cast<int32_t>(in.Get(4));
    r->Parent = static_cast<int32_t>(in.Get(4));
    r->Level = static_cast<int32_t>(in.Get(4));
    r->SetFlagsFromStatus(static_cast<uint8_t>(in.Get(1)));
    r->SetName(in.Text(sizeof r->Name));
    r->SetURL(in.Text(sizeof r->URL));
    records.push_back(std::move(r));
  }
  if (in.Left() != 0) throw ERecoveryDamaged("it holds more than its records");
  return records;
}

void SaveRecovery(const std::string& path, const FavoriteItemList& records) {
  if (!platform::WriteFileAtomically(path, PackRecovery(records))) {
    throw Exception(Format("Cannot write the recovery file \"%s\"", path.c_str()));
  }
}

FavoriteItemList LoadRecovery(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    throw Exception(Format("Cannot read the recovery file \"%s\"", path.c_str()));
  }
  try {
    return UnpackRecovery(bytes);
  } catch (const ERecoveryDamaged&) {
    throw;
  } catch (const std::exception& e) {
    throw ERecoveryDamaged(e.what());
  }
}

bool RecoveryPending(const std::string& path) { return platform::FileExists(path); }

void RemoveRecovery(const std::string& path) {
  if (platform::FileExists(path) && !platform::DeleteFileAt(path)) {
    throw Exception(Format("Cannot remove the recovery file \"%s\"", path.c_str()));
  }
}

std::string SetRecoveryAside(const std::string& path) {
  for (int n = 1; n < 1000; ++n) {
    std::string aside = path + (n == 1 ? std::string(".damaged") : Format(".damaged%d", n));
    if (platform::PathExists(aside)) continue;
    return platform::RenamePath(path, aside) ? aside : std::string();
  }
  return std::string();
}

RestoreOutcome RestoreHandheld(ThcdPalmRemoteTable& table, const std::string& path, const FavoriteItemList& saved) {
  if (table.Active()) table.Close();
  std::vector<DamagedRecord> damaged;
  FavoriteItemList current;
  if (table.Exists()) {
    table.Open();
    current = LoadPdbList(table, damaged);
  } else {
    table.CreateTable();
  }
  MergedRestore merged = MergeLaterWork(saved, current);
  const FavoriteItemList& records = merged.differs ? merged.records : saved;
  // The kept records exist only on the handheld until they are written back.
  if (merged.differs) SaveRecovery(path, records);
  if (!current.empty()) RemoveLoadedRecords(table, current, !damaged.empty());
  table.Open();
  TableRecordWriter writer(table);
  std::unordered_map<int32_t, int32_t> new_ids;  // folder: loaded ID -> new ID
  for (const auto& record : records) {
    auto moved = new_ids.find(record->Parent);
    int32_t parent = moved != new_ids.end() ? moved->second : record->Parent;
    int32_t id = writer.WriteNewRecord(*record, parent, record->StatusAllFlags());
    if (!record->isUrl) new_ids[record->RecID] = id;
  }
  table.Close();
  return {static_cast<int>(records.size()), merged.later_work};
}

}  // namespace kestro
