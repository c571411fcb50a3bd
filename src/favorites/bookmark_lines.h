// The line rules of a Netscape bookmark file, apart from the edits: how the
// text splits into lines and is joined again, which lines open or close a
// list, head a folder or hold a link, and where a line's title and address
// are. Tests are substring tests on the line (upper-cased where noted), not
// an HTML parse, so every line the rules do not name passes through as it is.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestro {

using BookmarkLines = std::vector<std::string>;

// Splits at CR LF, CR or LF; a final line end makes no empty last line.
BookmarkLines SplitBookmarkLines(std::string_view text);
// Every line followed by CR LF.
std::string JoinBookmarkLines(const BookmarkLines& lines);

bool IsDocTypeLine(std::string_view line);      // "<!DOCTYPE NETSCAPE", exact case
bool IsLinkLine(std::string_view upper);        // "<DT><A"
bool IsFolderLine(std::string_view upper);      // "<DT><H3"
bool IsListOpening(std::string_view upper);     // "<DL>", as browsers read it
bool IsListClosing(std::string_view upper);     // "</DL><P>"
bool IsListClosingTag(std::string_view upper);  // "</DL>", with or without "<P>"
// True when every list the lines open ("<DL>") is closed ("</DL>") after
// it, as in any whole file; browsers close the top list without "<p>".
bool ListsClose(const BookmarkLines& lines);

// The text between the first "\">" and the first "</" of the line; in a
// line without "\">", the text between the end of its heading's or link's
// tag and the next "</" (else the text from its second character).
std::string BookmarkTitle(std::string_view line);
// Where that title starts in the line.
std::size_t BookmarkTitleStart(std::string_view line);
// The piece after the first double-quoted piece boundary whose piece holds
// "HREF" in any case, as browsers read it (old files write "href"): empty when no piece holds it; false when that piece is
// the last one, so the address is missing.
bool BookmarkHref(std::string_view line, std::string& url);

// The lines this store writes for a new link and a new folder's heading,
// after the indentation.
std::string LinkLineText(std::string_view url, std::string_view title);
std::string FolderHeadingText(std::string_view title);
// True when the line reads back as exactly one link (or folder heading) with
// this title (and address), and as nothing else: no list opening or closing.
// A title or address that fails this would come back changed on the next
// read, or break the lists around it.
bool ReadsBackAsLink(std::string_view line, std::string_view title, std::string_view url);
bool ReadsBackAsFolder(std::string_view line, std::string_view title);

// Walks the entries directly inside one list, starting at line from, with
// the nesting the loader gives them: a folder line opens a nested list that
// ends at its closing line. visit(line, is_folder) is called for each link
// and folder line at the list's own depth and returns true to stop there.
struct ListWalk {
  std::size_t line;  // where the walk stopped
  bool stopped;      // visit asked to stop at line
  bool closed;       // line is the list's own closing line (else: out of lines)
};
ListWalk WalkList(const BookmarkLines& lines, std::size_t from,
                  const std::function<bool(std::size_t, bool)>& visit);

}  // namespace kestro
