#include "favorites/folder_path.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(FolderPath, SplitsAtBackslashesOnly) {
  struct Case {
    const char* path;
    std::vector<std::string> components;
  } cases[] = {
      {"", {}},
      {"\\", {""}},
      {"News", {}},  // the part before the first separator is dropped
      {"\\News", {"News"}},
      {"\\News\\Daily", {"News", "Daily"}},
      {"\\News\\", {"News", ""}},  // a folder without a name is not its parent
      {"\\A\\\\B", {"A", "", "B"}},
      {"\\A\r\nB", {"A\r\nB"}},  // a line break is part of the name
      {"\\A\rB\nC", {"A\rB\nC"}},
      {"x\\My News\\D\xC3\xA9j\xC3\xA0", {"My News", "D\xC3\xA9j\xC3\xA0"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitFolderPath(c.path), c.components) << "path: " << c.path;
  }
}

TEST(FolderPath, NamesThatWouldLeaveTheFolderAreRefused) {
  const char* unsafe[] = {"..",   ".",  "...", ". .",         "a\\b", "a/b",
                          "../x", "C:", "C:x", "name:stream", "x\ny", "x\r"};
  for (const char* name : unsafe) EXPECT_FALSE(UnsafeNameReason(name).empty()) << name;
  const char* safe[] = {"", "News", "..a", "a..", "v1.2", ".hidden", "Mr. Smith", "a b"};
  for (const char* name : safe) EXPECT_TRUE(UnsafeNameReason(name).empty()) << name;
}

TEST(FolderPath, NamesAFavoritesFolderCannotKeepAreRefused) {
  struct Case {
    std::string name;
    const char* extension;
    bool kept;
  } cases[] = {
      {"News", ".url", true},
      {"a.", ".url", true},  // "a..url" keeps the dot
      {"a.", "", false},     // a folder "a." would become "a"
      {"a ", "", false},
      {"", ".url", false},
      {"", "", false},
      {"tab\tname", ".url", false},
      {"what?", ".url", false},
      {"a*b", "", false},
      {"x|y", ".url", false},
      {"say \"hi\"", ".url", false},
      {"<tag>", "", false},
      {"..", "", false},
      {"CON", ".url", false},
      {"nul", "", false},
      {"Aux.txt", "", false},
      {"com1", ".url", false},
      {"LPT9 .old", ".url", false},
      {"COM0", ".url", true},
      {"CONSOLE", "", true},
      {"my con", ".url", true},
      {std::string(251, 'n'), ".url", true},
      {std::string(252, 'n'), ".url", false},
      {std::string(255, 'n'), "", true},
      {std::string(256, 'n'), "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileNameProblem(c.name, c.extension).empty(), c.kept)
        << c.name.size() << " " << c.name << c.extension;
  }
}

}  // namespace
}  // namespace kestro
