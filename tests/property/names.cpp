#include "property/names.h"

namespace kestro::property {
namespace {

const std::vector<std::string> kCommon = {"Inbox", "YouTube", "News",  "Docs",  "Mail",
                                          "Work",  "Tools",   "Daily", "Links", "Home"};
// Names that have broken a store: separators, markup, quotes, line breaks,
// case twins, UTF-8, Windows' forbidden characters, an empty name.
const std::vector<std::string> kOdd = {"AC\\DC",
                                       "AC",
                                       "DC",
                                       "a/b",
                                       "x\ny",
                                       "p\r\nq",
                                       "a</b",
                                       "x</DL><p>y",
                                       "<DT><H3 z",
                                       "say \"hi\"",
                                       "",
                                       "Caf\xC3\xA9",
                                       "\xE2\x82\xACuro",
                                       "..",
                                       "end.",
                                       "tab\tbed",
                                       "NEWS",
                                       "news",
                                       "C:drive",
                                       "a*b?",
                                       "Tom & Jerry",
                                       "News.url",
                                       "con",
                                       "LPT1.txt"};

std::string LongName(Prng& rng) {
  std::string name = "Long";
  const int size = rng.Between(250, 300);
  while (static_cast<int>(name.size()) < size)
    name.push_back(static_cast<char>('a' + rng.Between(0, 25)));
  return name;
}

bool HasControl(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

}  // namespace

const char* StoreName(Store store) {
  return store == Store::kFavoritesFolder ? "favourites-folder" : "bookmark-file";
}

std::string NewName(Prng& rng, const std::vector<std::string>& siblings) {
  const int roll = rng.Between(1, 100);
  if (roll <= 20 && !siblings.empty()) return rng.Pick(siblings);
  if (roll <= 45) return rng.Pick(kCommon);
  if (roll <= 57) return rng.Pick(kOdd);
  if (roll <= 60) return LongName(rng);
  return "item" + std::to_string(rng.Between(0, 999999));
}

std::string NewUrl(Prng& rng) {
  const int roll = rng.Between(1, 100);
  if (roll <= 8) return "http://shared.example/";
  if (roll <= 14) {
    static const std::vector<std::string> odd = {"",
                                                 "http://q.example/?a=\"b\"",
                                                 "http://s.example/a b",
                                                 "http://u.example/\xC3\xBC",
                                                 "javascript:void(0)",
                                                 "http://amp.example/?a=1&b=2"};
    return rng.Pick(odd);
  }
  return "http://site" + std::to_string(rng.Between(0, 999)) + ".example/p" +
         std::to_string(rng.Between(0, 99999));
}

bool DesktopCanHoldName(Store store, const std::string& name) {
  if (name.empty() || HasControl(name)) return false;
  if (store == Store::kBookmarkFile) return name.find_first_of("<>") == std::string::npos;
  if (name == "." || name == ".." || name.back() == '.' || name.back() == ' ') return false;
  if (name.size() > 251 || name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (stem == "CON" || stem == "LPT1") return false;  // devices on Windows
  // "x.url" as a folder would stand where the favourite "x" is kept.
  std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : "";
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return tail != ".url";
}

bool DesktopCanHoldUrl(Store store, const std::string& url) {
  if (HasControl(url)) return false;
  return store == Store::kFavoritesFolder || url.find_first_of("\"<>") == std::string::npos;
}

}  // namespace kestro::property
