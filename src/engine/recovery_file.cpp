#include "engine/recovery_file.h"

#include <unordered_map>

#include "base/exception.h"
#include "base/text.h"
#include "engine/item_list.h"
#include "engine/state_file.h"
#include "platform/file_system.h"
#include "platform/process_paths.h"

namespace kestro {
namespace {

bool KeepsItsByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

}  // namespace

std::string RecoveryFilePath(const std::string& user_name) {
  std::string name = "KestroDB";
  if (!user_name.empty()) {
    name += '-';
    for (unsigned char c : user_name) name += KeepsItsByte(c) ? std::string(1, static_cast<char>(c)) : Format("%%%02X", c);
  }
  return platform::HostProgramFolder() + name + ".krv";
}

void SaveRecovery(const std::string& path, const FavoriteItemList& records) {
  std::vector<FavoriteItem*> items;
  items.reserve(records.size());
  for (const auto& record : records) items.push_back(record.get());
  if (!platform::WriteFileAtomically(path, ItemImages(items))) {
    throw Exception(Format("Cannot write the recovery file \"%s\"", path.c_str()));
  }
}

FavoriteItemList LoadRecovery(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    throw Exception(Format("Cannot read the recovery file \"%s\"", path.c_str()));
  }
  return ItemsFromImages(bytes);
}

bool RecoveryPending(const std::string& path) { return platform::FileExists(path); }

void RemoveRecovery(const std::string& path) {
  if (platform::FileExists(path) && !platform::DeleteFileAt(path)) {
    throw Exception(Format("Cannot remove the recovery file \"%s\"", path.c_str()));
  }
}

void RestoreHandheld(ThcdPalmRemoteTable& table, const FavoriteItemList& records) {
  if (table.Active()) table.Close();
  if (table.Exists()) {
    table.EmptyTable();
  } else {
    table.CreateTable();
  }
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
}

}  // namespace kestro
