// The store of a Netscape bookmark file, the HTML file every browser still
// exports and imports. The file is held as lines: the tree is loaded from them
// at construction, and each change edits the lines in place and replaces the
// whole file at once (CR LF after every line). Lines the store does not
// understand keep their bytes. Folders are found inside their parents and
// entries by their whole title, with nesting counted, so a change never acts
// on an entry elsewhere. Errors leave through RaiseError with codes 2001-2010.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "favorites/bookmark_lines.h"
#include "favorites/favorites_base.h"

namespace kestro {

class TFavoritesNS : public TFavoritesBase {
 public:
  // Raises "Netscape file not found." or "Netscape file not valid." (2010).
  explicit TFavoritesNS(const std::string& bookmark_file);

  const std::string& BookmarkFile() const { return bookmark_file_; }
  const BookmarkLines& Lines() const { return lines_; }

  void DeleteFolder(const std::string& path) override;
  void DeleteFavorite(const std::string& path) override;
  void AddFavorite(const std::string& path, FavoriteItem item) override;
  void ChangeFavorite(const std::string& path, FavoriteItem& item) override;
  void ChangeFolder(const std::string& path, FavoriteItem& item) override;

 private:
  void LoadBookmarkFile();
  void EnsureLoaded();
  // Loads the entries of one list from the line after i; returns with i on
  // the list's closing line (or past the last line).
  void ParseLevel(std::size_t& i, int32_t level, int32_t parent);
  std::string ExtractTitle(const std::string& line);
  std::string ExtractHref(const std::string& line);
  // Matches the components in order, each among the folders directly inside
  // the one matched before; returns how many matched and the heading line of
  // the last match.
  std::size_t LocateFolder(const std::vector<std::string>& components, std::size_t& heading) const;
  // The first line inside the folder path names (the top list's when empty),
  // or false when the path is not fully found.
  bool FolderStart(const std::vector<std::string>& components, std::size_t& start) const;
  // False (with a notice) when a text would break the file's line structure.
  bool SingleLine(const char* what, const std::string& path, const FavoriteItem& item);
  void Save();

  std::string bookmark_file_;
  BookmarkLines lines_;
  bool loaded_ = false;
};

}  // namespace kestro
