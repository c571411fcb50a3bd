#include "favorites/favorites_ns.h"

#include <algorithm>

#include "base/exception.h"
#include "base/text.h"
#include "favorites/kestro_error.h"
#include "platform/file_system.h"

namespace kestro {
namespace {

// The file's top list starts after its first line, which holds the document
// type; the loader never reads that line as an entry.
constexpr std::size_t kTopListStart = 1;

std::string Indent(long long levels) {
  return std::string(static_cast<std::size_t>(std::clamp(levels, 0LL, 256LL)) * 4, ' ');
}

}  // namespace

TFavoritesNS::TFavoritesNS(const std::string& bookmark_file) {
  try {
    bookmark_file_ = bookmark_file;
    LoadBookmarkFile();
    ClearEntries();
    line_of_.Clear();
    std::size_t i = 0;
    ParseLevel(i, 0, 0);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2001");
  }
}

void TFavoritesNS::LoadBookmarkFile() {
  try {
    if (!platform::FileExists(bookmark_file_)) throw Exception("Netscape file not found.");
    std::string text;
    if (!platform::ReadWholeFile(bookmark_file_, text)) {
      throw Exception(Format("Cannot open file %s", bookmark_file_.c_str()));
    }
    BookmarkLines lines = SplitBookmarkLines(text);
    if (std::none_of(lines.begin(), lines.end(),
                     [](const std::string& l) { return IsDocTypeLine(l); })) {
      throw Exception("Netscape file not valid.");
    }
    // A file cut short would read as if what is missing had been deleted.
    // A last line without its line end is whole only when it closes a list
    // or holds the document type.
    const bool ends_inside_line = !text.empty() && text.back() != '\n' && text.back() != '\r' &&
                                  !IsListClosingTag(AsciiUpper(lines.back())) &&
                                  !IsDocTypeLine(lines.back());
    if (ends_inside_line || !ListsClose(lines)) {
      throw Exception("The bookmark file ends before its lists close: it may have been cut short.");
    }
    lines_ = std::move(lines);
    loaded_ = true;
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2010");
  }
}

void TFavoritesNS::EnsureLoaded() {
  if (!loaded_) LoadBookmarkFile();
}

std::string TFavoritesNS::ExtractTitle(const std::string& line) {
  try {
    return BookmarkTitle(line);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2004");
  }
}

std::string TFavoritesNS::ExtractHref(const std::string& line) {
  try {
    std::string url;
    if (!BookmarkHref(line, url)) throw Exception("A link's HREF has no address after it.");
    return url;
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2005");
  }
}

// Nested lists are followed with a stack of our own rather than by calling
// this again for each folder, so that a file nested thousands deep cannot
// exhaust the call stack.
void TFavoritesNS::ParseLevel(std::size_t& i, int32_t level, int32_t parent) {
  try {
    struct Caller {
      int32_t level;
      int32_t parent;
      bool heading_was_closing;  // the caller's list ends with the nested one
    };
    std::vector<Caller> callers;
    ++i;
    while (i < lines_.size()) {
      const std::string& line = lines_[i];
      const std::string upper = AsciiUpper(line);
      const bool closing = IsListClosing(upper);
      if (IsLinkLine(upper)) {
        auto item = NewFavoriteItem();
        item->SetName(ExtractTitle(line));
        item->SetURL(ExtractHref(line));
        item->Parent = parent;
        item->Level = level;
        item->isUrl = 1;
        item->isVisible = 1;
        line_of_.Set(AppendEntry(std::move(item)), i);
      }
      if (IsFolderLine(upper)) {
        auto item = NewFavoriteItem();
        item->SetName(ExtractTitle(line));
        item->Parent = parent;
        item->Level = level;
        item->isVisible = 1;
        line_of_.Set(AppendEntry(std::move(item)), i);
        callers.push_back({level, parent, closing});
        level += 1;
        parent = Count() - 1;
        ++i;  // the nested list starts after its heading
        continue;
      }
      if (closing) {
        // This list ends here; so do the callers whose own line was a closing.
        bool ends = true;
        while (ends && !callers.empty()) {
          const Caller caller = callers.back();
          callers.pop_back();
          level = caller.level;
          parent = caller.parent;
          ends = caller.heading_was_closing;
        }
        if (ends) return;
      }
      ++i;
    }
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2002");
  }
}

bool TFavoritesNS::LineOf(const FavoriteItem* entry, std::size_t& line) const {
  return line_of_.Find(entry, line);
}

void TFavoritesNS::InsertLines(std::size_t at, const std::vector<std::string>& lines) {
  line_of_.Inserted(at, lines.size());
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
}

void TFavoritesNS::EraseLines(std::size_t from, std::size_t to) {
  line_of_.Erased(from, to);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(from),
               lines_.begin() + static_cast<std::ptrdiff_t>(to));
}

bool TFavoritesNS::InsertionLine(const FavoriteItem* folder, std::size_t& at) const {
  if (!folder) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const std::string upper = AsciiUpper(lines_[i]);
      if (IsListOpening(upper)) {
        at = i + 1;
        return true;
      }
      if (i >= kTopListStart &&
          (IsLinkLine(upper) || IsFolderLine(upper) || IsListClosing(upper))) {
        at = i;
        return true;
      }
    }
    at = lines_.size();
    return true;
  }
  std::size_t heading = 0;
  if (!LineOf(folder, heading)) return false;
  // The folder's own opening comes before its first entry or its closing;
  // past those it would be another folder's.
  for (std::size_t i = heading + 1; i < lines_.size(); ++i) {
    const std::string upper = AsciiUpper(lines_[i]);
    if (IsListOpening(upper)) {
      at = i + 1;
      return true;
    }
    if (IsLinkLine(upper) || IsFolderLine(upper) || IsListClosing(upper)) return false;
  }
  return false;
}

void TFavoritesNS::Refuse(const char* what, const std::string& path, const char* reason) {
  AddNotice(Format("%s \"%s\" was left alone on the desktop: %s.", what, path.c_str(), reason));
}

bool TFavoritesNS::LinkLineFor(const std::string& path, const FavoriteItem* folder,
                               const FavoriteItem& item, std::string& line, std::size_t& at) {
  const std::string item_path = path + "\\" + std::string(item.NameText());
  line = Indent(static_cast<long long>(item.Level) + 1) +
         LinkLineText(item.URLText(), item.NameText());
  if (!ReadsBackAsLink(line, item.NameText(), item.URLText())) {
    Refuse("Favorite", item_path,
           "its name or address would not read back the same from the bookmark file");
    return false;
  }
  if (!InsertionLine(folder, at)) {
    Refuse("Favorite", item_path, "its folder has no list of its own in the bookmark file");
    return false;
  }
  return true;
}

void TFavoritesNS::Save() {
  if (Previewing()) return;
  unsaved_ = true;
  if (holding_ || hold_saves_) return;
  if (!platform::WriteFileAtomically(bookmark_file_, JoinBookmarkLines(lines_))) {
    throw Exception(Format("Cannot create file %s", bookmark_file_.c_str()));
  }
  unsaved_ = false;
}

void TFavoritesNS::WriteHeld() {
  holding_ = false;
  if (unsaved_) Save();
}

void TFavoritesNS::DeleteFolder(const std::string& path, FavoriteItem* folder) {
  TFavoritesBase::DeleteFolder(path, folder);
  try {
    std::size_t heading = 0;
    if (!folder || folder->isUrl || !LineOf(folder, heading)) return;
    WriteLog("DeleteFolder: " + path);
    // Only an empty folder goes: any link or folder inside keeps it.
    const ListWalk inside = WalkList(lines_, heading + 1, [](std::size_t, bool) { return true; });
    if (inside.stopped) return;
    WriteLog("Folder is empty");
    const std::size_t last = inside.closed ? inside.line : lines_.size() - 1;
    EraseLines(heading, last + 1);
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2003");
  }
}

void TFavoritesNS::DeleteFavorite(const std::string& path, FavoriteItem* entry) {
  TFavoritesBase::DeleteFavorite(path, entry);
  try {
    std::size_t line = 0;
    if (!entry || !entry->isUrl || !LineOf(entry, line)) return;
    WriteLog("Delete: " + path);
    // A description line below the link stays, as the user wrote it.
    EraseLines(line, line + 1);
    WriteLog("Favorite found and deleted.");
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2006");
  }
}

FavoriteItem* TFavoritesNS::AddFavorite(const std::string& path, FavoriteItem* folder,
                                        const FavoriteItem& item) {
  std::string line;
  std::size_t at = 0;
  if (!LinkLineFor(path, folder, item, line, at)) return nullptr;
  FavoriteItem* entry = TFavoritesBase::AddFavorite(path, folder, item);
  try {
    InsertLines(at, {line});
    if (entry) line_of_.Set(entry, at);
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2007");
  }
  return entry;
}

FavoriteItem* TFavoritesNS::AddFolder(const std::string& path, FavoriteItem* folder,
                                      std::string_view name) {
  const std::string indent = Indent(folder ? static_cast<long long>(folder->Level) + 2 : 1);
  const std::string heading = indent + FolderHeadingText(name);
  std::size_t at = 0;
  if (!ReadsBackAsFolder(heading, name)) {
    Refuse("Folder", path, "its name would not read back the same from the bookmark file");
    return nullptr;
  }
  if (!InsertionLine(folder, at)) {
    Refuse("Folder", path, "the folder around it has no list of its own in the bookmark file");
    return nullptr;
  }
  FavoriteItem* entry = TFavoritesBase::AddFolder(path, folder, name);
  try {
    InsertLines(at, {heading, indent + "<DL><p>", indent + "</DL><p>"});
    if (entry) line_of_.Set(entry, at);
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2007");
  }
  return entry;
}

void TFavoritesNS::ChangeFavorite(const std::string& path, FavoriteItem* folder,
                                  FavoriteItem* entry, FavoriteItem& item) {
  if (!item.isUrl) return;
  // Checked before the old link goes, so that a change refused here does not
  // lose the favourite.
  std::string line;
  std::size_t at = 0;
  if (!LinkLineFor(path, folder, item, line, at)) return;
  try {
    // The old link goes and the new one comes in one replacement of the
    // file: a failed write then loses neither.
    struct Release {
      bool& hold;
      ~Release() { hold = false; }
    } release{hold_saves_ = true};
    if (entry && entry->isUrl) DeleteFavorite(path + "\\" + std::string(item.NameText()), entry);
    AddFavorite(path, folder, item);
    hold_saves_ = false;
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2008");
  }
}

bool TFavoritesNS::ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item) {
  std::size_t at = 0;
  if (item.isUrl || !entry || entry->isUrl || !LineOf(entry, at)) return false;
  const std::string& old_line = lines_[at];
  const std::string line =
      old_line.substr(0, std::min(BookmarkTitleStart(old_line), old_line.size())) +
      std::string(item.NameText()) + "</H3>";
  if (!ReadsBackAsFolder(line, item.NameText())) {
    Refuse("Folder", path + "\\" + std::string(item.URLText()),
           "its new name would not read back the same from the bookmark file");
    return false;
  }
  TFavoritesBase::ChangeFolder(path, entry, item);
  try {
    WriteLog("Change folder from " + std::string(item.URLText()) + " to " +
             std::string(item.NameText()));
    WriteLog("Change folder pathname:" + path);
    lines_[at] = line;
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2009");
  }
  return true;
}

}  // namespace kestro
