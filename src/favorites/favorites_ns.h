// The store of a Netscape bookmark file, the HTML file every browser still
// exports and imports. The file is held as lines: the tree is loaded from them
// at construction, and each change edits the lines in place and replaces the
// whole file at once (CR LF after every line). Lines the store does not
// understand keep their bytes. Each entry remembers its line, so an edit acts
// on that line whatever other entries share its title; a title or address
// that would not read back the same is refused with a notice. Errors leave
// through RaiseError with codes 2001-2010.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "favorites/bookmark_lines.h"
#include "favorites/entry_lines.h"
#include "favorites/favorites_base.h"

namespace kestro {

class TFavoritesNS : public TFavoritesBase {
 public:
  // Raises "Netscape file not found." or "Netscape file not valid." (2010).
  explicit TFavoritesNS(const std::string& bookmark_file);

  const std::string& BookmarkFile() const { return bookmark_file_; }
  const BookmarkLines& Lines() const { return lines_; }

  using TFavoritesBase::AddFavorite;
  using TFavoritesBase::ChangeFavorite;
  using TFavoritesBase::ChangeFolder;
  using TFavoritesBase::DeleteFavorite;
  using TFavoritesBase::DeleteFolder;
  void DeleteFolder(const std::string& path, FavoriteItem* folder) override;
  void DeleteFavorite(const std::string& path, FavoriteItem* entry) override;
  FavoriteItem* AddFavorite(const std::string& path, FavoriteItem* folder,
                            const FavoriteItem& item) override;
  FavoriteItem* AddFolder(const std::string& path, FavoriteItem* folder,
                          std::string_view name) override;
  void ChangeFavorite(const std::string& path, FavoriteItem* folder, FavoriteItem* entry,
                      FavoriteItem& item) override;
  bool ChangeFolder(const std::string& path, FavoriteItem* entry, FavoriteItem& item) override;
  bool HoldsRepeatedNames() const override { return true; }
  // While held, the edits change the lines only; WriteHeld replaces the file
  // once with all of them.
  void HoldWrites() override { holding_ = true; }
  void WriteHeld() override;

 private:
  void LoadBookmarkFile();
  void EnsureLoaded();
  // Loads the entries of one list from the line after i; returns with i on
  // the list's closing line (or past the last line).
  void ParseLevel(std::size_t& i, int32_t level, int32_t parent);
  std::string ExtractTitle(const std::string& line);
  std::string ExtractHref(const std::string& line);
  // The line an entry was read from or written to, kept in step with every
  // edit of the lines; false for an entry the file does not hold.
  bool LineOf(const FavoriteItem* entry, std::size_t& line) const;
  void InsertLines(std::size_t at, const std::vector<std::string>& lines);
  void EraseLines(std::size_t from, std::size_t to);
  // Where a new first entry of the folder goes (null: the top level): after
  // the folder's list opening. The top level may have no opening of its
  // own, and then takes it before its first entry. False when the folder's
  // list is missing.
  bool InsertionLine(const FavoriteItem* folder, std::size_t& at) const;
  // The link line for the item, or false (with a notice) when the file
  // cannot hold it faithfully.
  bool LinkLineFor(const std::string& path, const FavoriteItem* folder, const FavoriteItem& item,
                   std::string& line, std::size_t& at);
  void Refuse(const char* what, const std::string& path, const char* reason);
  void Save();

  std::string bookmark_file_;
  BookmarkLines lines_;
  bool hold_saves_ = false;  // while true, Save waits for the edit in hand to be whole
  bool loaded_ = false;
  bool holding_ = false;
  bool unsaved_ = false;  // the lines hold edits the file does not have yet
  EntryLines line_of_;
};

}  // namespace kestro
