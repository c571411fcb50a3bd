#include "favorites/favorites_ns.h"

#include <algorithm>

#include "base/exception.h"
#include "base/text.h"
#include "favorites/folder_path.h"
#include "favorites/kestro_error.h"
#include "platform/file_system.h"

namespace kestro {
namespace {

// The file's top list starts after its first line, which holds the document
// type; the loader never reads that line as an entry.
constexpr std::size_t kTopListStart = 1;

// Titles are compared as the entry list holds them: cut to the name field.
bool SameTitle(const std::string& title, const std::string& name) {
  return SameTextAscii(std::string_view(title).substr(0, sizeof(FavoriteItem::Name)), name);
}

std::string Indent(long long levels) {
  return std::string(static_cast<std::size_t>(std::clamp(levels, 0LL, 256LL)) * 4, ' ');
}

}  // namespace

TFavoritesNS::TFavoritesNS(const std::string& bookmark_file) {
  try {
    bookmark_file_ = bookmark_file;
    LoadBookmarkFile();
    ClearEntries();
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
        AppendEntry(std::move(item));
      }
      if (IsFolderLine(upper)) {
        auto item = NewFavoriteItem();
        item->SetName(ExtractTitle(line));
        item->Parent = parent;
        item->Level = level;
        item->isVisible = 1;
        AppendEntry(std::move(item));
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

std::size_t TFavoritesNS::LocateFolder(const std::vector<std::string>& components,
                                       std::size_t& heading) const {
  std::size_t start = kTopListStart;
  heading = 0;
  for (std::size_t j = 0; j < components.size(); ++j) {
    const ListWalk walk = WalkList(lines_, start, [&](std::size_t line, bool is_folder) {
      return is_folder && SameTitle(BookmarkTitle(lines_[line]), components[j]);
    });
    if (!walk.stopped) return j;
    heading = walk.line;
    start = walk.line + 1;
  }
  return components.size();
}

bool TFavoritesNS::FolderStart(const std::vector<std::string>& components,
                               std::size_t& start) const {
  if (components.empty()) {
    start = kTopListStart;
    return true;
  }
  std::size_t heading = 0;
  if (LocateFolder(components, heading) < components.size()) return false;
  start = heading + 1;
  return true;
}

bool TFavoritesNS::SingleLine(const char* what, const std::string& path, const FavoriteItem& item) {
  const auto breaks = [](std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
  };
  if (!breaks(item.NameText()) && !breaks(item.URLText())) return true;
  AddNotice(
      Format("%s \"%s\" was left alone on the desktop: its name or address holds a line break.",
             what, path.c_str()));
  return false;
}

void TFavoritesNS::Save() {
  if (!platform::WriteFileAtomically(bookmark_file_, JoinBookmarkLines(lines_))) {
    throw Exception(Format("Cannot create file %s", bookmark_file_.c_str()));
  }
}

void TFavoritesNS::DeleteFolder(const std::string& path) {
  TFavoritesBase::DeleteFolder(path);
  try {
    EnsureLoaded();
    const std::vector<std::string> components = SplitFolderPath(path);
    if (components.empty()) return;
    std::size_t heading = 0;
    if (LocateFolder(components, heading) < components.size()) return;
    WriteLog("DeleteFolder: " + path);
    // Only an empty folder goes: any link or folder inside keeps it.
    const ListWalk inside = WalkList(lines_, heading + 1, [](std::size_t, bool) { return true; });
    if (inside.stopped) return;
    WriteLog("Folder is empty");
    const std::size_t last = inside.closed ? inside.line : lines_.size() - 1;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(heading),
                 lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2003");
  }
}

void TFavoritesNS::DeleteFavorite(const std::string& path) {
  TFavoritesBase::DeleteFavorite(path);
  try {
    EnsureLoaded();
    std::vector<std::string> components = SplitFolderPath(path);
    if (components.empty()) return;
    const std::string name = components.back();
    components.pop_back();
    std::size_t start = 0;
    if (!FolderStart(components, start)) return;
    WriteLog("Delete: " + path);
    const ListWalk walk = WalkList(lines_, start, [&](std::size_t line, bool is_folder) {
      return !is_folder && SameTitle(BookmarkTitle(lines_[line]), name);
    });
    if (!walk.stopped) return;
    // A description line below the link stays, as the user wrote it.
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(walk.line));
    WriteLog("Favorite found and deleted.");
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2006");
  }
}

void TFavoritesNS::AddFavorite(const std::string& path, FavoriteItem item) {
  if (!SingleLine("Favorite", path + "\\" + std::string(item.NameText()), item)) return;
  TFavoritesBase::AddFavorite(path, item);
  try {
    EnsureLoaded();
    const std::vector<std::string> components = SplitFolderPath(path);
    std::size_t heading = 0;
    const std::size_t matched = LocateFolder(components, heading);
    std::size_t opening = lines_.size();
    if (matched == 0) {
      for (std::size_t i = 0; i < lines_.size() && opening == lines_.size(); ++i) {
        if (IsListOpening(lines_[i])) opening = i;
      }
    } else {
      // The folder's own list opening: before its first entry, its closing or
      // the next folder, so that the link can never land in another folder.
      for (std::size_t i = heading + 1; i < lines_.size(); ++i) {
        if (IsListOpening(lines_[i])) {
          opening = i;
          break;
        }
        const std::string upper = AsciiUpper(lines_[i]);
        if (IsLinkLine(upper) || IsFolderLine(upper) || IsListClosing(upper)) break;
      }
    }
    if (opening == lines_.size())
      throw Exception("The bookmark file has no list to add the favorite to.");
    std::size_t at = opening + 1;
    for (std::size_t j = matched; j < components.size(); ++j) {
      const std::string indent = Indent(static_cast<long long>(j) + 1);
      const std::string folder[] = {indent + "<DT><H3 ADD_DATE=\"0\">" + components[j] + "</H3>",
                                    indent + "<DL><p>", indent + "</DL><p>"};
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::begin(folder),
                    std::end(folder));
      at += 2;  // onto the new closing: what follows goes inside
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Indent(static_cast<long long>(item.Level) + 1) + "<DT><A HREF=\"" +
                      std::string(item.URLText()) +
                      "\" ADD_DATE=\"0\" LAST_VISIT=\"0\" LAST_MODIFIED=\"0\">" +
                      std::string(item.NameText()) + "</A>");
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2007");
  }
}

void TFavoritesNS::ChangeFavorite(const std::string& path, FavoriteItem& item) {
  // Checked before the old link goes, so that a change refused here does not
  // lose the favourite.
  if (item.isUrl && !SingleLine("Favorite", path + "\\" + std::string(item.NameText()), item))
    return;
  TFavoritesBase::ChangeFavorite(path, item);
  try {
    if (!item.isUrl) return;
    DeleteFavorite(path + "\\" + std::string(item.NameText()));
    AddFavorite(path, item);
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2008");
  }
}

void TFavoritesNS::ChangeFolder(const std::string& path, FavoriteItem& item) {
  if (!item.isUrl && !SingleLine("Folder", path + "\\" + std::string(item.URLText()), item)) return;
  TFavoritesBase::ChangeFolder(path, item);
  try {
    if (item.isUrl) return;
    EnsureLoaded();
    const std::string former(item.URLText());
    WriteLog("Change folder from " + former + " to " + std::string(item.NameText()));
    WriteLog("Change folder pathname:" + path);
    std::size_t start = 0;
    if (!FolderStart(SplitFolderPath(path), start)) return;
    const ListWalk walk = WalkList(lines_, start, [&](std::size_t line, bool is_folder) {
      return is_folder && SameTitle(BookmarkTitle(lines_[line]), former);
    });
    if (!walk.stopped) return;
    std::string& line = lines_[walk.line];
    line = line.substr(0, std::min(BookmarkTitleStart(line), line.size())) +
           std::string(item.NameText()) + "</H3>";
    Save();
  } catch (const std::exception& e) {
    RaiseError(MessageOf(e), "2009");
  }
}

}  // namespace kestro
