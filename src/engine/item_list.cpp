#include "engine/item_list.h"

#include <string>
#include <vector>

#include "favorites/kestro_error.h"

namespace kestro {
namespace {

constexpr int kName = 0, kParent = 1, kLevel = 2, kStatus = 3, kURL = 4;

// Whether the current record is what writing item back would send: its two
// texts whole in the item, its Status byte the item's flags, and its bytes
// the packed fields and nothing else (a NUL after each text, four bytes of
// Parent, two of Level, one of Status).
bool WritesBackAsRead(const ThcdPalmRemoteTable& table, const FavoriteItem& item, const std::string& name,
                      const std::string& url, int32_t status) {
  return table.GetRecordAttributes() == 0 && table.GetRecordCategory() == 0 && item.NameText() == name &&
         item.URLText() == url && item.StatusAllFlags() == status &&
         table.RecordSize() == name.size() + 1 + 4 + 2 + 1 + url.size() + 1;
}

}  // namespace

void ConfigureFavoritesTable(ThcdPalmRemoteTable& table) {
  table.SetName("hcdPalmRemoteTable1");
  table.SetTableName("KestroDB");
  table.SetCreatorID("Kstr");
  table.SetTableType("DATA");
  table.SetVersion(0);
  table.SetOptions(ThcdPalmRemoteTableOptions());
  table.SetCardNum(0);
  table.SetDbSaving(false);
  table.SetReadOnly(false);
  ThcdPalmFieldDefs& defs = table.FieldDefs();
  defs.BeginUpdate();
  defs.Clear();
  defs.SetAlignment(0);
  defs.SetStrictFields(true);
  defs.Add("Name", ptString, 0);
  defs.Add("Parent", ptLong, 0);
  defs.Add("Level", ptWord, 0);
  defs.Add("Status", ptByte, 0);
  defs.Add("URL", ptString, 0);
  defs.EndUpdate();
  table.Loaded();
}

FavoriteItemList LoadPdbList(ThcdPalmRemoteTable& table, std::vector<DamagedRecord>& damaged, bool* as_written) {
  FavoriteItemList list;
  damaged.clear();
  bool exact = true;
  try {
    // The handheld is not written while it is read: its count is asked once,
    // not at every record.
    const int32_t count = table.RecordCount();
    ThcdPalmFields& fields = table.Fields();
    for (int32_t n = 0; n < count; ++n) {
      if (n > 0) table.Next();
      if (!table.DecodeFailure().empty()) {
        damaged.push_back({table.GetRecordId(), table.DecodeFailure()});
        continue;
      }
      auto item = NewFavoriteItem();
      const std::string name = fields.Field(kName).AsString(), url = fields.Field(kURL).AsString();
      const int32_t status = fields.Field(kStatus).AsInteger();
      item->RecID = static_cast<int32_t>(table.GetRecordId());
      item->SetName(name);
      item->Parent = fields.Field(kParent).AsInteger();
      item->Level = fields.Field(kLevel).AsInteger();
      item->SetFlagsFromStatus(static_cast<uint8_t>(status));
      item->SetURL(url);
      if (exact) exact = WritesBackAsRead(table, *item, name, url, status);
      list.push_back(std::move(item));
    }
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3001");
  }
  if (as_written) *as_written = exact;
  return list;
}

int32_t TableRecordWriter::WriteNewRecord(const FavoriteItem& item, int32_t parent, uint8_t status) {
  table_.Insert();
  ThcdPalmFields& fields = table_.Fields();
  fields.Field(kName).SetAsString(std::string(item.NameText()));
  fields.Field(kParent).SetAsInteger(parent);
  fields.Field(kLevel).SetAsInteger(item.Level);
  fields.Field(kStatus).SetAsInteger(status);
  fields.Field(kURL).SetAsString(std::string(item.URLText()));
  table_.Post();
  return static_cast<int32_t>(table_.GetRecordId());
}

void RemoveLoadedRecords(ThcdPalmRemoteTable& table, const FavoriteItemList& loaded, bool any_damaged) {
  if (!any_damaged) {
    table.EmptyTable();
    return;
  }
  for (const auto& item : loaded) table.DeleteRecordId(static_cast<uint32_t>(item->RecID));
}

void OverwriteHandheld(ThcdPalmRemoteTable& table, TFavoritesBase& store, const FavoriteItemList& loaded,
                       bool any_damaged) {
  try {
    if (table.Exists()) {
      table.Open();
      RemoveLoadedRecords(table, loaded, any_damaged);
    } else {
      table.CreateTable();
      table.Open();
    }
    // The new ID of the last folder written at each Level, by Level + 1; it
    // grows with the nesting, so folders of any depth keep their contents.
    std::vector<int32_t> parents(256, 0);
    TableRecordWriter writer(table);
    for (FavoriteItem* item : store.Entries()) {
      if (item->NameText().empty()) continue;
      std::size_t level = item->Level < 0 ? 0 : static_cast<std::size_t>(item->Level);
      if (parents.size() < level + 2) parents.resize(level + 2, 0);
      item->Parent = parents[level];
      int32_t id = writer.WriteNewRecord(*item, item->Parent, item->StatusAllFlags());
      if (!item->isUrl) parents[level + 1] = id;
    }
    table.Close();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "3012");
  }
}

}  // namespace kestro
