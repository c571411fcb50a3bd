#include "engine/reconciliation.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "favorites/kestro_error.h"
#include "platform/deep_stack.h"

namespace kestro {
namespace {

// Levels the walk may go down on the stack of the thread that runs the
// conduit: about a kilobyte each, against a megabyte on Windows.
constexpr int32_t kLevelsOnUsualStack = 100;

std::string ItemPath(const std::string& folder_path, const FavoriteItem& item) {
  std::string path = folder_path;
  path += '\\';
  path += item.NameText();
  return path;
}

// Runs one step of an item's handling; any failure leaves with the step's
// location code (or the code of an inner step that caught it first).
template <typename Step>
void RunStep(const char* code, Step&& step) {
  try {
    step();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), code);
  }
}

}  // namespace

Reconciliation::Reconciliation(FavoriteItemList& pdb_list, TFavoritesBase& favorites,
                               const StateIndex& state, HandheldRecordWriter& writer)
    : pdb_list_(pdb_list), favorites_(favorites), state_(state), writer_(writer) {}

void Reconciliation::Run() {
  folder_ids_.assign(pdb_list_.size(), 0);
  desktop_folders_.assign(pdb_list_.size(), nullptr);
  visited_.assign(pdb_list_.size(), false);
  subtree_end_.assign(pdb_list_.size(), Count());
  std::vector<int> open;
  for (int i = 0; i < Count(); ++i) {
    while (!open.empty() && At(open.back()).Level >= At(i).Level) {
      subtree_end_[static_cast<std::size_t>(open.back())] = i;
      open.pop_back();
    }
    open.push_back(i);
  }
  paired_.clear();
  kept_for_.clear();
  handled_early_.clear();
  freeing_.clear();
  passes_.clear();
  int position = -1;
  path_.clear();
  // The walk calls itself once per folder level. A tree nested deeper than a
  // thread's usual stack holds (a bookmark file may be nested tens of
  // thousands deep) is walked on a stack of its own; any other stays on the
  // calling thread, the one the host called the conduit on.
  int32_t depth = 0;
  for (int i = 0; i < Count(); ++i) depth = std::max(depth, At(i).Level);
  for (const FavoriteItem* entry : favorites_.Entries()) depth = std::max(depth, entry->Level);
  if (depth > kLevelsOnUsualStack)
    platform::RunOnDeepStack([&] { SyncFolder(position); });
  else
    SyncFolder(position);
  // Every handheld record must be written back or dropped by a rule; one the
  // walk never reached would be lost, so the run fails (and restores) instead.
  for (std::size_t i = 0; i < visited_.size(); ++i) {
    if (!visited_[i]) {
      RaiseError(Format("The handheld record \"%s\" was not reached",
                        std::string(pdb_list_[i]->NameText()).c_str()),
                 "3007");
    }
  }
}

int32_t Reconciliation::Write(const FavoriteItem& item, int32_t parent, uint8_t status) {
  return writer_.WriteNewRecord(item, parent, status);
}

int32_t Reconciliation::ContentParent(std::size_t depth) {
  if (!passes_[depth].folder_written) {
    // A folder dropped by the rules whose pass still writes something is
    // written first, so that no record names a folder that is not there.
    int32_t parent = ContentParent(depth - 1);
    int folder_position = passes_[depth].folder_position;
    FavoriteItem& folder = At(folder_position);
    int32_t id = Write(folder, parent, SettledItemStatus(folder));
    folder.RecID = id;
    folder_ids_[static_cast<std::size_t>(folder_position)] = id;
    passes_[depth].parent_id = id;
    passes_[depth].folder_written = true;
  }
  return passes_[depth].parent_id;
}

void Reconciliation::SyncFolder(int& position) {
  if (position >= Count()) return;
  // The pass's folder path is the shared one with its name added, and loses
  // it again when the pass ends, however it ends.
  struct TrimPath {
    std::string& path;
    std::size_t size;
    ~TrimPath() { path.resize(size); }
  } trim{path_, path_.size()};
  const std::string& path = path_;
  int32_t level = 0;
  Pass pass;
  RunStep("3002", [&] {
    if (position == -1) {
      position = 0;
      return;
    }
    const FavoriteItem& folder = At(position);
    path_ += '\\';
    path_ += folder.NameText();
    level = folder.Level + 1;
    int32_t written = folder_ids_[static_cast<std::size_t>(position)];
    pass.folder_written = written != 0;
    pass.parent_id = written != 0 ? written : folder.RecID;
    pass.folder_position = position;
    pass.desktop = desktop_folders_[static_cast<std::size_t>(position)];
    ++position;
  });
  pass.path_size = path_.size();

  const bool top = passes_.empty();
  passes_.push_back(pass);
  struct PopPass {
    std::vector<Pass>& passes;
    ~PopPass() { passes.pop_back(); }
  } pop{passes_};

  // The contents are those of the desktop folder this one was matched to;
  // a handheld folder the desktop does not have starts with none.
  FolderMatcher fav_list({});
  RunStep("3002", [&] {
    if (top || pass.desktop)
      fav_list = FolderMatcher(favorites_.GetFolderItems(pass.desktop, pass.parent_id),
                               favorites_.HoldsRepeatedNames());
  });
  fav_list.KnownBy(&state_, level);
  for (int i = position; i < Count() && At(i).Level == level;
       i = subtree_end_[static_cast<std::size_t>(i)]) {
    fav_list.Expect(At(i));
  }
  PairFolders(position, level, fav_list);

  while (position < Count() && At(position).Level == level) HandleItem(position, path, fav_list);

  if (position > 0) --position;  // the caller moves on again

  FavoriteItemView rest = fav_list.Remaining();
  if (rest.empty()) return;
  // The contents were stamped when the pass began; a dropped folder may have
  // been written since, or must be written now, before them.
  bool writes_any = false;
  for (FavoriteItem* p : rest) writes_any = writes_any || !p->NameText().empty();
  if (writes_any) {
    RunStep("3008", [&] {
      int32_t parent = ContentParent(passes_.size() - 1);
      for (FavoriteItem* p : rest) p->Parent = parent;
    });
  }
  AddPCItems(rest);
}

void Reconciliation::HandleItem(int& position, const std::string& path, FolderMatcher& fav_list) {
  const int h_position = position;
  FavoriteItem& h = At(h_position);
  visited_[static_cast<std::size_t>(h_position)] = true;

  // An item handled ahead of its turn (a folder renamed, a favourite
  // deleted) has its counterpart already, or none.
  const auto early = handled_early_.find(h_position);
  const bool handled_early = early != handled_early_.end();
  if (!handled_early) {
    RunStep("3004", [&] {
      if (h.isUrl)
        FreeFavoriteName(h_position, path, fav_list);
      else
        FreeName(h_position, path, fav_list);
    });
  }
  int d_index = handled_early ? early->second : -1;
  RunStep("3003", [&] {
    if (handled_early) return;
    d_index = h.isUrl ? fav_list.Match(h) : MatchFolder(h_position, h.NameText(), fav_list);
  });
  FavoriteItem* d = d_index >= 0 ? fav_list.Item(d_index) : nullptr;

  // Push the handheld's edit to the desktop, from the flags as loaded.
  if (!handled_early) RunStep("3004", [&] { PushEdit(h_position, path, d, d_index, fav_list); });
  desktop_folders_[static_cast<std::size_t>(h_position)] = d && !d->isUrl ? d : nullptr;
  // A new handheld folder is made on the desktop now, even when it is empty:
  // else the next run would take it for one the desktop deleted.
  if (!d && !h.isUrl && h.isNew && !h.isDeleted) {
    RunStep("3004", [&] {
      FavoriteItem* parent = nullptr;
      if (!DesktopFolder(passes_.size() - 1, parent)) return;
      desktop_folders_[static_cast<std::size_t>(h_position)] =
          favorites_.AddFolder(ItemPath(path, h), parent, h.NameText());
    });
  }

  // A new item the desktop could not take stays new on the handheld, so the
  // next run offers it again rather than taking it for a deleted one.
  const bool refused = h.isNew && !h.isDeleted && !d &&
                       !desktop_folders_[static_cast<std::size_t>(h_position)];

  // Decide which version survives.
  FavoriteItem* current = &h;
  RunStep("3005", [&] {
    bool known = state_.URLExistInFile(h);
    bool edited = h.isNew || h.isModified;
    if (!d) {
      // The last run knew the name, but a new item never was on the desktop
      // (another of its name was).
      if (known && !h.isNew) {
        h.isDeleted = 1;  // deleted on the desktop since the last run
      } else if (h.isUrl && !edited && !h.isDeleted) {
        FavoriteItem* folder = nullptr;  // the desktop never had it
        if (DesktopFolder(passes_.size() - 1, folder)) favorites_.AddFavorite(path, folder, h);
      }
    } else if (known && h.isDeleted) {
      if (h.isUrl) favorites_.DeleteFavorite(ItemPath(path, h), d);
    } else if (!edited) {
      current = d;  // the desktop version wins
      // The desktop keeps no open or closed state: a folder keeps the
      // handheld's, or every run after a close would open it again.
      if (!d->isUrl && !h.isUrl) d->isClosed = h.isClosed;
    }
    if (d_index >= 0) fav_list.Remove(d_index);
    current->isNew = refused ? 1 : 0;
    current->isModified = 0;
  });

  RunStep("3006", [&] {
    if (current->isDeleted) return;
    int32_t id = Write(*current, ContentParent(passes_.size() - 1), current->StatusAllFlags());
    current->RecID = id;
    if (!current->isUrl) folder_ids_[static_cast<std::size_t>(h_position)] = id;
  });

  RunStep("3007", [&] {
    // A handheld folder whose record gave way to a desktop favourite still
    // has its contents walked, so none of them is lost.
    bool descend = !current->isUrl || !h.isUrl;
    if (descend) {
      SyncFolder(position);
      bool folder_written = folder_ids_[static_cast<std::size_t>(h_position)] != 0;
      if (!current->isUrl && current->isDeleted && !folder_written) {
        favorites_.DeleteFolder(ItemPath(path, *current),
                                desktop_folders_[static_cast<std::size_t>(h_position)]);
      }
    }
    ++position;
  });
}

void Reconciliation::FreeFavoriteName(int position, const std::string& path,
                                      FolderMatcher& fav_list) {
  const FavoriteItem& h = At(position);
  if (!h.isNew || h.isDeleted) return;
  for (int i = position + 1; i < Count() && At(i).Level == h.Level;
       i = subtree_end_[static_cast<std::size_t>(i)]) {
    FavoriteItem& sibling = At(i);
    // Only a deletion its own turn would make: one the last run knew.
    if (!sibling.isUrl || !sibling.isDeleted || handled_early_.count(i) ||
        !SameTextAscii(sibling.NameText(), h.NameText()) || !state_.URLExistInFile(sibling)) {
      continue;
    }
    const int d_index = fav_list.Match(sibling);
    if (d_index >= 0) {
      favorites_.DeleteFavorite(ItemPath(path, sibling), fav_list.Item(d_index));
      fav_list.Remove(d_index);
    }
    handled_early_[i] = -1;
  }
}

bool Reconciliation::DesktopFolder(std::size_t depth, FavoriteItem*& folder) {
  Pass& pass = passes_[depth];
  folder = pass.desktop;
  if (depth == 0 || folder) return true;
  if (pass.desktop_refused) return false;
  FavoriteItem* parent = nullptr;
  if (DesktopFolder(depth - 1, parent)) {
    folder = favorites_.AddFolder(path_.substr(0, pass.path_size), parent, At(pass.folder_position).NameText());
  }
  if (!folder) {
    pass.desktop_refused = true;
    return false;
  }
  pass.desktop = folder;
  desktop_folders_[static_cast<std::size_t>(pass.folder_position)] = folder;
  return true;
}

void Reconciliation::PushEdit(int position, const std::string& path, FavoriteItem*& d,
                              int& d_index, FolderMatcher& fav_list) {
  FavoriteItem& h = At(position);
  if (h.isUrl && h.isDeleted) return;  // a deleted favourite brings nothing back
  if (h.isUrl && (h.isNew || h.isModified)) {
    FavoriteItem* folder = nullptr;
    if (!DesktopFolder(passes_.size() - 1, folder)) return;
    // The entry made is its counterpart now: a name the last run knew does
    // not make the new favourite one the desktop deleted. Where names repeat,
    // a changed favourite that found no entry the last run knew is made anew
    // too and kept on both sides, beside whatever the desktop holds of its
    // name: the desktop deleted it or changed it beyond telling from one it
    // added, and either way the handheld's version is kept.
    if ((h.isNew || (h.isModified && favorites_.HoldsRepeatedNames())) && !d) {
      d = favorites_.AddFavorite(path, folder, h);
      return;
    }
    const std::size_t notices = favorites_.Notices().size();
    favorites_.ChangeFavorite(path, folder, d, h);
    // A change the store refused gives way to the desktop's version now;
    // kept on the handheld, it would give way only in the next run.
    if (d && favorites_.Notices().size() > notices) h.isNew = h.isModified = 0;
    return;
  }
  if (h.isNew || !h.isModified) return;
  // A folder renamed on the handheld: URL holds its former name. The desktop
  // folder the rename acts on is its counterpart, as if matched after the
  // rename, even when a folder of the new name is there too; so it is not
  // added to the handheld a second time.
  const std::string former(h.URLText());
  const int renamed = former.empty() ? -1 : MatchFolder(position, former, fav_list);
  FavoriteItem* entry = renamed >= 0 ? fav_list.Item(renamed) : nullptr;
  const bool done = favorites_.ChangeFolder(path, entry, h);
  std::memset(h.URL, 0, sizeof h.URL);
  if (!entry) return;
  // A name the desktop could not take: the folder keeps the desktop's name
  // on the handheld too, so that both sides still hold one folder.
  if (!done) h.SetName(entry->NameText());
  d_index = renamed;
  d = entry;
}

// No folder path is carried down: one per level of a deep tree would hold
// memory in the square of its depth.
void Reconciliation::AddPCItems(const FavoriteItemView& list) {
  RunStep("3008", [&] {
    for (FavoriteItem* p : list) {
      if (p->NameText().empty()) continue;
      int32_t id = Write(*p, p->Parent, AddedItemStatus(*p));
      p->RecID = id;
      if (!p->isUrl) {
        AddPCItems(favorites_.GetFolderItems(p, id));
      }
    }
  });
}

}  // namespace kestro
