#include "favorites/bookmark_lines.h"

#include <cstring>

#include "base/text.h"

namespace kestro {

// A line ends at CR LF, LF or a lone CR. The ends are found with memchr
// rather than one character at a time; the next LF is remembered, so that a
// file of lone CRs is not searched to its end for each line.
BookmarkLines SplitBookmarkLines(std::string_view text) {
  BookmarkLines lines;
  const char* data = text.data();
  const std::size_t size = text.size();
  std::size_t next_lf = 0;
  bool lf_known = false;
  for (std::size_t start = 0; start < size;) {
    if (!lf_known || next_lf < start) {
      const void* lf = std::memchr(data + start, '\n', size - start);
      next_lf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
      lf_known = true;
    }
    const void* cr = std::memchr(data + start, '\r', next_lf - start);
    const std::size_t end = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : next_lf;
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (end < size && data[end] == '\r' && start < size && data[start] == '\n') ++start;
  }
  return lines;
}

std::string JoinBookmarkLines(const BookmarkLines& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

bool IsDocTypeLine(std::string_view line) {
  return line.find("<!DOCTYPE NETSCAPE") != std::string_view::npos;
}
bool IsLinkLine(std::string_view upper) { return upper.find("<DT><A") != std::string_view::npos; }
bool IsFolderLine(std::string_view upper) {
  return upper.find("<DT><H3") != std::string_view::npos;
}
bool IsListOpening(std::string_view upper) { return upper.find("<DL>") != std::string_view::npos; }
bool IsListClosing(std::string_view upper) {
  return upper.find("</DL><P>") != std::string_view::npos;
}
bool IsListClosingTag(std::string_view upper) {
  return upper.find("</DL>") != std::string_view::npos;
}

bool ListsClose(const BookmarkLines& lines) {
  auto count = [](std::string_view text, std::string_view tag) {
    std::size_t n = 0;
    for (std::size_t at = text.find(tag); at != std::string_view::npos; at = text.find(tag, at + 1))
      ++n;
    return n;
  };
  std::size_t open = 0;
  for (const std::string& line : lines) {
    const std::string upper = AsciiUpper(line);
    open += count(upper, "<DL>");
    const std::size_t closed = count(upper, "</DL>");
    open = closed > open ? 0 : open - closed;
  }
  return open == 0;
}

namespace {

// Just after the ">" that ends a heading's or link's tag, outside quoted
// values, as browsers read a tag whose last attribute has no quotes
// ("<DT><H3>News</H3>", "<DT><H3 FOLDED>News</H3>"); npos without one.
std::size_t TagEnd(std::string_view line) {
  const std::string upper = AsciiUpper(line);
  std::size_t at = upper.find("<DT><H3");
  if (at == std::string::npos) at = upper.find("<DT><A");
  if (at == std::string::npos) return std::string_view::npos;
  bool quoted = false;
  for (std::size_t i = at + 4; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '>' && !quoted) return i + 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t BookmarkTitleStart(std::string_view line) {
  const std::size_t a = line.find("\">");
  if (a != std::string_view::npos) return a + 2;
  // Without the quote-and-bracket the title follows the tag's end, or
  // counts from the line's second character when there is none.
  const std::size_t tag_end = TagEnd(line);
  return tag_end == std::string_view::npos ? 1 : tag_end;
}

std::string BookmarkTitle(std::string_view line) {
  if (line.find("\">") == std::string_view::npos) {
    const std::size_t start = TagEnd(line);
    if (start != std::string_view::npos) {
      const std::size_t end = line.find("</", start);
      return end == std::string_view::npos ? std::string()
                                           : std::string(line.substr(start, end - start));
    }
  }
  // Positions as the file's own rules count them: from 1, 0 when absent.
  const std::size_t found_a = line.find("\">");
  const std::size_t found_b = line.find("</");
  const long long a = found_a == std::string_view::npos ? 0 : static_cast<long long>(found_a) + 1;
  const long long b = found_b == std::string_view::npos ? 0 : static_cast<long long>(found_b) + 1;
  long long start = a + 2;  // 1-based
  const long long count = b - a - 2;
  if (count <= 0) return {};
  if (start < 1) start = 1;
  const auto from = static_cast<std::size_t>(start - 1);
  if (from >= line.size()) return {};
  return std::string(line.substr(from, static_cast<std::size_t>(count)));
}

bool BookmarkHref(std::string_view line, std::string& url) {
  url.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t quote = line.find('"', start);
    const std::string_view piece =
        line.substr(start, quote == std::string_view::npos ? line.npos : quote - start);
    const std::size_t href = AsciiUpper(piece).find("HREF");
    if (href != std::string::npos) {
      // An address written without quotes (HREF=http://a/), as old files
      // and browsers allow, runs to the next blank or the tag's end.
      const std::size_t equals = piece.find_first_not_of(" \t", href + 4);
      if (equals != std::string_view::npos && piece[equals] == '=') {
        const std::size_t value = piece.find_first_not_of(" \t", equals + 1);
        if (value != std::string_view::npos) {
          url.assign(piece.substr(value, piece.find_first_of(" \t>", value) - value));
          return true;
        }
      }
      if (quote == std::string_view::npos) return false;  // no piece follows
      const std::size_t next = line.find('"', quote + 1);
      url.assign(
          line.substr(quote + 1, next == std::string_view::npos ? line.npos : next - quote - 1));
      return true;
    }
    if (quote == std::string_view::npos) return true;
    start = quote + 1;
  }
}

std::string LinkLineText(std::string_view url, std::string_view title) {
  return "<DT><A HREF=\"" + std::string(url) +
         "\" ADD_DATE=\"0\" LAST_VISIT=\"0\" LAST_MODIFIED=\"0\">" + std::string(title) + "</A>";
}

std::string FolderHeadingText(std::string_view title) {
  return "<DT><H3 ADD_DATE=\"0\">" + std::string(title) + "</H3>";
}

namespace {

// A written line must keep to itself: one line, and no marker of another
// kind of line.
bool OneLineOfItsKind(std::string_view line, bool link) {
  if (line.find_first_of("\r\n") != std::string_view::npos) return false;
  const std::string upper = AsciiUpper(line);
  return IsLinkLine(upper) == link && IsFolderLine(upper) != link && !IsListOpening(upper) &&
         !IsListClosing(upper);
}

}  // namespace

bool ReadsBackAsLink(std::string_view line, std::string_view title, std::string_view url) {
  std::string read_url;
  return OneLineOfItsKind(line, true) && BookmarkTitle(line) == title &&
         BookmarkHref(line, read_url) && read_url == url;
}

bool ReadsBackAsFolder(std::string_view line, std::string_view title) {
  // A heading without a title reads back, but a nameless folder never goes
  // to the handheld, so it could not be matched there again.
  return !title.empty() && OneLineOfItsKind(line, false) && BookmarkTitle(line) == title;
}

ListWalk WalkList(const BookmarkLines& lines, std::size_t from,
                  const std::function<bool(std::size_t, bool)>& visit) {
  // One flag per open nested list: whether the folder line that opened it was
  // itself a closing line, so that the enclosing list ends with the nested one.
  std::vector<bool> open;
  for (std::size_t i = from; i < lines.size(); ++i) {
    const std::string upper = AsciiUpper(lines[i]);
    const bool link = IsLinkLine(upper), folder = IsFolderLine(upper),
               closing = IsListClosing(upper);
    if (open.empty()) {
      if (link && visit(i, false)) return {i, true, false};
      if (folder && visit(i, true)) return {i, true, false};
    }
    if (folder) {
      open.push_back(closing);
      continue;
    }
    if (!closing) continue;
    if (open.empty()) return {i, false, true};
    bool ends_enclosing = true;
    while (ends_enclosing && !open.empty()) {
      ends_enclosing = open.back();
      open.pop_back();
    }
    if (ends_enclosing) return {i, false, true};
  }
  return {lines.size(), false, false};
}

}  // namespace kestro
