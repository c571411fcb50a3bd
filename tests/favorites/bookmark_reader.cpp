#include "bookmark_reader.h"

#include <cctype>

namespace kestro::testing {
namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The value of attribute name in a tag's text, or empty.
std::string Attribute(std::string_view tag, std::string_view name) {
  const std::string upper = Upper(tag);
  std::size_t at = 0;
  while ((at = upper.find(name, at)) != std::string::npos) {
    std::size_t p = at + name.size();
    const bool starts_word = at > 0 && std::isspace(static_cast<unsigned char>(upper[at - 1]));
    while (p < tag.size() && tag[p] == ' ') ++p;
    if (starts_word && p < tag.size() && tag[p] == '=') {
      ++p;
      while (p < tag.size() && tag[p] == ' ') ++p;
      if (p < tag.size() && tag[p] == '"') {
        const std::size_t end = tag.find('"', p + 1);
        return std::string(tag.substr(p + 1, end - p - 1));
      }
    }
    at += name.size();
  }
  return {};
}

}  // namespace

std::string ReadBookmarkTree(std::string_view html) {
  std::string out;
  int depth = -1;  // the first list is the top level, depth 0
  std::size_t pos = 0;
  while ((pos = html.find('<', pos)) != std::string_view::npos) {
    if (html.substr(pos, 4) == "<!--") {
      const std::size_t end = html.find("-->", pos);
      pos = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    // The tag runs to the first '>' outside quotes.
    std::size_t end = pos + 1;
    bool quoted = false;
    while (end < html.size() && (quoted || html[end] != '>')) {
      if (html[end] == '"') quoted = !quoted;
      ++end;
    }
    const std::string_view tag = html.substr(pos, end - pos + 1);
    std::size_t name_end = 1;
    while (name_end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[name_end])) &&
           tag[name_end] != '>') {
      ++name_end;
    }
    const std::string name = Upper(tag.substr(1, name_end - 1));
    pos = end + 1;
    auto text_until = [&](std::string_view closing) {
      const std::size_t stop = Upper(html.substr(pos)).find(closing);
      std::string text(html.substr(pos, stop));
      pos = stop == std::string::npos ? html.size() : pos + stop;
      return text;
    };
    const std::string indent(static_cast<std::size_t>(depth < 0 ? 0 : depth) * 2, ' ');
    if (name == "DL") {
      ++depth;
    } else if (name == "/DL") {
      --depth;
    } else if (name == "H3") {
      out += indent + "F " + text_until("</H3") + "\n";
    } else if (name == "A") {
      const std::string href = Attribute(tag, "HREF");
      out += indent + "L " + text_until("</A") + " " + href + "\n";
    }
  }
  return out;
}

std::string StoreTree(const TFavoritesBase& store) {
  std::string out;
  for (const FavoriteItem* item : store.Entries()) {
    out += std::string(static_cast<std::size_t>(item->Level) * 2, ' ');
    out += item->isUrl ? "L " + std::string(item->NameText()) + " " + std::string(item->URLText())
                       : "F " + std::string(item->NameText());
    out += "\n";
  }
  return out;
}

}  // namespace kestro::testing
