#include "favorites/folder_path.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(FolderPath, SplitsAtBackslashesAndLineBreaks) {
  struct Case {
    const char* path;
    std::vector<std::string> components;
  } cases[] = {
      {"", {}},
      {"\\", {}},
      {"News", {}},  // the part before the first separator is dropped
      {"\\News", {"News"}},
      {"\\News\\Daily", {"News", "Daily"}},
      {"\\News\\", {"News"}},
      {"\\A\\\\B", {"A", "", "B"}},
      {"\\A\r\nB", {"A", "B"}},
      {"\\A\rB\nC", {"A", "B", "C"}},
      {"x\\My News\\D\xC3\xA9j\xC3\xA0", {"My News", "D\xC3\xA9j\xC3\xA0"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitFolderPath(c.path), c.components) << "path: " << c.path;
  }
}

TEST(FolderPath, NamesThatWouldLeaveTheFolderAreRefused) {
  const char* unsafe[] = {"..",  ".",    "...", ". .", "a\\b",
                          "a/b", "../x", "C:",  "C:x", "name:stream"};
  for (const char* name : unsafe) EXPECT_FALSE(UnsafeNameReason(name).empty()) << name;
  const char* safe[] = {"", "News", "..a", "a..", "v1.2", ".hidden", "Mr. Smith", "a b"};
  for (const char* name : safe) EXPECT_TRUE(UnsafeNameReason(name).empty()) << name;
}

}  // namespace
}  // namespace kestro
