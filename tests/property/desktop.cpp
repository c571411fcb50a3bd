#include "property/desktop.h"

#include <fstream>

#include "platform/file_system.h"
#include "platform/process_paths.h"
#include "platform/profile_string.h"

namespace kestro::property {
namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The quoted value of an attribute in a tag, or empty.
std::string Attribute(const std::string& tag, const std::string& name) {
  const std::size_t at = Upper(tag).find(" " + name + "=\"");
  if (at == std::string::npos) return {};
  const std::size_t begin = at + name.size() + 3;
  return tag.substr(begin, tag.find('"', begin) - begin);
}

void ReadFolder(const std::string& folder, int level, Tree& tree) {
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectory(folder, entries);
  for (const auto& e : entries) {
    const std::string path = folder + platform::PathSeparator() + e.name;
    if (e.is_directory) {
      tree.push_back(Folder(level, e.name));
      ReadFolder(path, level + 1, tree);
    } else if (e.name.size() > 4 && Lower(e.name.substr(e.name.size() - 4)) == ".url") {
      tree.push_back(Favorite(level, e.name.substr(0, e.name.size() - 4),
                              platform::GetProfileString(path, "InternetShortcut", "URL", "")));
    }
  }
}

void WriteFolder(const std::string& root, const Tree& tree) {
  platform::DeleteTree(root);
  platform::CreateDirectories(root);
  std::vector<std::string> open{root};
  for (const Entry& e : tree) {
    open.resize(static_cast<std::size_t>(e.level) + 1);
    const std::string path = open.back() + platform::PathSeparator() + e.name;
    if (e.folder) {
      platform::CreateDirectories(path);
      open.push_back(path);
    } else {
      std::ofstream(path + ".url", std::ios::binary)
          << "[InternetShortcut]\r\nURL=" << e.url << "\r\n";
    }
  }
}

std::string BookmarkText(BookmarkStyle style, const Tree& tree) {
  const bool lower = style == BookmarkStyle::kLowerCase;
  const std::string eol = lower ? "\r\n" : "\n";
  auto tag = [&](const std::string& t) { return lower ? Lower(t) : t; };
  const int top = style == BookmarkStyle::kNoTopList ? 0 : 1;
  auto indent = [&](int level) {
    return std::string(static_cast<std::size_t>(4 * (level + top)), ' ');
  };
  std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>" + eol +
                    "<!-- This is an automatically generated file." + eol +
                    "     It will be read and overwritten." + eol + "     DO NOT EDIT! -->" + eol +
                    tag("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">") +
                    eol + tag("<TITLE>") + "Bookmarks" + tag("</TITLE>") + eol + tag("<H1>") +
                    "Bookmarks" + tag("</H1>") + eol + eol;
  if (top) out += tag("<DL><p>") + eol;
  int open = 0;
  auto close_to = [&](int level) {
    for (; open > level; --open) out += indent(open - 1) + tag("</DL><p>") + eol;
  };
  for (const Entry& e : tree) {
    close_to(e.level);
    if (e.folder) {
      out += indent(e.level) +
             tag("<DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000000\">") + e.name +
             tag("</H3>") + eol + indent(e.level) + tag("<DL><p>") + eol;
      ++open;
    } else {
      out += indent(e.level) + tag("<DT><A HREF=\"") + e.url + tag("\" ADD_DATE=\"1700000000\">") +
             e.name + tag("</A>") + eol;
    }
  }
  close_to(0);
  if (top) out += tag("</DL><p>") + eol;
  return out;
}

Tree ReadBookmarks(const std::string& html) {
  Tree tree;
  // For each open list: whether it is a folder's (a list that follows a
  // heading) or a plain one, such as the list around the top level.
  std::vector<bool> lists;
  bool heading_waits = false;
  int level = 0;
  std::size_t pos = 0;
  const std::string upper = Upper(html);
  while ((pos = html.find('<', pos)) != std::string::npos) {
    if (html.compare(pos, 4, "<!--") == 0) {
      const std::size_t end = html.find("-->", pos);
      pos = end == std::string::npos ? html.size() : end + 3;
      continue;
    }
    std::size_t end = pos + 1;
    for (bool quoted = false; end < html.size() && (quoted || html[end] != '>'); ++end) {
      if (html[end] == '"') quoted = !quoted;
    }
    const std::string tag = html.substr(pos, end - pos + 1);
    const std::string name = Upper(tag.substr(1, tag.find_first_of(" >\r\n\t") - 1));
    pos = end + 1;
    auto text_until = [&](const std::string& closing) {
      const std::size_t stop = upper.find(closing, pos);
      std::string text =
          html.substr(pos, stop == std::string::npos ? std::string::npos : stop - pos);
      pos = stop == std::string::npos ? html.size() : stop;
      return text;
    };
    if (name == "DL") {
      lists.push_back(heading_waits);
      level += heading_waits ? 1 : 0;
      heading_waits = false;
    } else if (name == "/DL" && !lists.empty()) {
      level -= lists.back() ? 1 : 0;
      lists.pop_back();
    } else if (name == "H3") {
      tree.push_back(Folder(level, text_until("</H3")));
      heading_waits = true;
    } else if (name == "A") {
      const std::string href = Attribute(tag, "HREF");
      tree.push_back(Favorite(level, text_until("</A"), href));
      heading_waits = false;
    }
  }
  return tree;
}

}  // namespace

Tree ReadDesktop(Store store, const std::string& location) {
  Tree tree;
  if (store == Store::kFavoritesFolder) {
    ReadFolder(location, 0, tree);
  } else {
    std::string html;
    platform::ReadWholeFile(location, html);
    tree = ReadBookmarks(html);
  }
  return tree;
}

void WriteDesktop(const Scenario& scenario, const std::string& location, const Tree& tree) {
  if (scenario.store == Store::kFavoritesFolder) {
    WriteFolder(location, tree);
  } else {
    std::ofstream(location, std::ios::binary) << BookmarkText(scenario.style, tree);
  }
}

std::string DesktopText(Store store, const std::string& location) {
  return store == Store::kFavoritesFolder ? testing::DescribeFavoritesFolder(location)
                                          : testing::FileBytes(location);
}

}  // namespace kestro::property
