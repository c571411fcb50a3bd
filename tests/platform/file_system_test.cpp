#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/fault_switch.h"
#include "platform/process_paths.h"
#include "platform/temporary_files.h"
#include "support/test_environment.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestro::platform {
namespace {

TEST(FileSystem, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
  testing::TestEnvironment env;
  std::string path = env.Path("state.ksd");
  ASSERT_TRUE(WriteFileAtomically(path, std::string(5000, 'a')));
  ASSERT_TRUE(WriteFileAtomically(path, "short"));
  std::string contents;
  ASSERT_TRUE(ReadWholeFile(path, contents));
  EXPECT_EQ(contents, "short");
  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(env.Folder(), entries));
  for (const auto& e : entries) EXPECT_EQ(e.name.find(".tmp"), std::string::npos) << e.name;
}

TEST(FileSystem, AtomicWriteIntoMissingFolderFailsWithoutCreatingAnything) {
  testing::TestEnvironment env;
  EXPECT_FALSE(WriteFileAtomically(env.Path("no-such-folder") + PathSeparator() + "x", "data"));
  EXPECT_FALSE(PathExists(env.Path("no-such-folder")));
}

TEST(FileSystem, ReadInBlocksGivesWholeBlocksThenTheRest) {
  testing::TestEnvironment env;
  std::string text;
  for (int i = 0; i < 2600; ++i) text.push_back(static_cast<char>('a' + i % 26));
  ASSERT_TRUE(WriteFileAtomically(env.Path("blocks"), text));
  std::vector<std::string> pieces;
  ASSERT_TRUE(ReadFileInBlocks(env.Path("blocks"), 1000, [&](std::string_view p) { pieces.emplace_back(p); }));
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], text);
  EXPECT_EQ(pieces[2].size(), 600u);
  EXPECT_FALSE(ReadFileInBlocks(env.Path("missing"), 1000, [&](std::string_view) { FAIL(); }));
}

std::string Contents(const std::string& path) {
  std::string text;
  return ReadWholeFile(path, text) ? text : "<unreadable>";
}

// A new file is written whole, and never over anything already of its name:
// a file, a folder, or a link whose target is missing.
TEST(FileSystem, ANewFileNeverReplacesAnEntryOfItsName) {
  testing::TestEnvironment env;
  EXPECT_EQ(WriteNewFile(env.Path("new.url"), "whole"), NewFile::kWritten);
  EXPECT_EQ(Contents(env.Path("new.url")), "whole");
  EXPECT_EQ(WriteNewFile(env.Path("new.url"), "other"), NewFile::kTaken);
  EXPECT_EQ(Contents(env.Path("new.url")), "whole");
  ASSERT_TRUE(CreateDirectories(env.Path("folder.url")));
  EXPECT_EQ(WriteNewFile(env.Path("folder.url"), "x"), NewFile::kTaken);
  EXPECT_TRUE(DirectoryExists(env.Path("folder.url")));
#ifndef _WIN32
  ASSERT_EQ(::symlink("missing", env.Path("link.url").c_str()), 0);
  EXPECT_EQ(WriteNewFile(env.Path("link.url"), "x"), NewFile::kTaken);
  EXPECT_FALSE(PathExists(env.Path("missing")));
#endif
  EXPECT_EQ(WriteNewFile(env.Path("no-such-folder") + PathSeparator() + "x.url", "x"), NewFile::kFailed);
  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(env.Folder(), entries));
  for (const auto& e : entries) EXPECT_EQ(e.name.find(".tmp"), std::string::npos) << e.name;
}

TEST(FileSystem, AtomicWriteRemovesTheTemporariesOfEndedProcesses) {
  testing::TestEnvironment env;
  const std::string ended = ".tmp4194300";  // no process has this id
  const std::string mine = ".tmp" + std::to_string(CurrentProcessId());
  for (const char* name : {"state.ksd", "other.url", "report"})
    ASSERT_TRUE(WriteFileAtomically(env.Path(name), "x"));
  const std::vector<std::string> stale = {"state.ksd" + ended, "other.url" + ended,
                                          "new.htm" + ended};
  const std::vector<std::string> kept = {"report.tmp", "report.tmpx1", "gone.txt" + ended,
                                         "other.url" + mine};
  for (const auto& name : stale) ASSERT_TRUE(WriteFileAtomically(env.Path(name), "half"));
  for (const auto& name : kept) ASSERT_TRUE(WriteFileAtomically(env.Path(name), "keep"));
  RemoveStaleTemporaries(env.Path("new.htm"));  // as the next run's first write does
  for (const auto& name : stale) EXPECT_FALSE(PathExists(env.Path(name))) << name;
  for (const auto& name : kept) EXPECT_TRUE(FileExists(env.Path(name))) << name;
  EXPECT_TRUE(ProcessIsRunning(CurrentProcessId()));
  EXPECT_FALSE(ProcessIsRunning(4194300));
}

// Folders nested past Windows' MAX_PATH (260 characters for the whole path)
// hold files that are written, listed, read, renamed and deleted as any other.
TEST(FileSystem, APathLongerThanMaxPathWorksLikeAnyOther) {
  testing::TestEnvironment env;
  std::string folder = env.Folder();
  for (int level = 0; level < 4; ++level) folder += PathSeparator() + std::string(90, char('a' + level));
  ASSERT_TRUE(CreateDirectories(folder));
  const std::string file = folder + PathSeparator() + std::string(120, 'f') + ".url";
  ASSERT_GT(file.size(), 500u);
  ASSERT_TRUE(WriteFileAtomically(file, "one"));
  ASSERT_TRUE(WriteFileAtomically(file, "two"));
  EXPECT_EQ(Contents(file), "two");
  EXPECT_EQ(FileSize(file), 3);
  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(folder, entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, std::string(120, 'f') + ".url");
  const std::string moved = folder + PathSeparator() + "moved.url";
  ASSERT_TRUE(RenamePath(file, moved));
  EXPECT_FALSE(PathExists(file));
  ASSERT_TRUE(DeleteFileAt(moved));
  EXPECT_TRUE(RemoveEmptyDirectory(folder));
  EXPECT_FALSE(DirectoryExists(folder));
}

// A name that nearly fills the file-name limit leaves no room for the mark
// of its temporary: the temporary's name is cut instead, and still cleared.
TEST(FileSystem, AFileOfTheLongestNameIsReplacedToo) {
  testing::TestEnvironment env;
#ifdef _WIN32
  // Names there are the ANSI code page's text, one byte a character.
  const std::string name = std::string(251, 'n') + ".url";
#else
  const std::string name = std::string(248, 'n') + "\xC3\xA9.url";  // 255 bytes, ends in "é"
#endif
  ASSERT_TRUE(WriteFileAtomically(env.Path(name), "one"));
  ASSERT_TRUE(WriteFileAtomically(env.Path(name), "two"));
  EXPECT_EQ(Contents(env.Path(name)), "two");
  const std::string stale = name.substr(0, 244) + ".tmp4194300";
  ASSERT_TRUE(WriteFileAtomically(env.Path(stale), "half"));
  RemoveStaleTemporaries(env.Path(name));
  EXPECT_FALSE(PathExists(env.Path(stale)));
  EXPECT_EQ(Contents(env.Path(name)), "two");
}

TEST(FileSystem, AFailedReplacementLeavesTheFileAsItWas) {
  testing::TestEnvironment env;
  const std::string path = env.Path("KestroNS.ksd");
  ASSERT_TRUE(WriteFileAtomically(path, "old"));
  SetEnv(kPlatformFaultVariable, "write:1:.ksd");
  EXPECT_FALSE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(Contents(path), "old");
  EXPECT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(Contents(path), "new");
  SetEnv(kPlatformFaultVariable, "rename:1,delete:1,mkdir:1");
  EXPECT_FALSE(RenamePath(path, env.Path("renamed")));
  EXPECT_FALSE(DeleteFileAt(path));
  EXPECT_FALSE(CreateDirectories(env.Path("folder")));
  EXPECT_EQ(Contents(path), "new");
  EXPECT_FALSE(PathExists(env.Path("folder")));
  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(env.Folder(), entries));
  for (const auto& e : entries) EXPECT_EQ(e.name.find(".tmp"), std::string::npos) << e.name;
}

#ifndef _WIN32
TEST(FileSystem, AtomicWriteReplacesALinksTargetAndKeepsItsPermissions) {
  testing::TestEnvironment env;
  ASSERT_TRUE(CreateDirectories(env.Path("real")));
  const std::string target = env.Path("real/bookmarks.htm");
  ASSERT_TRUE(WriteFileAtomically(target, "old"));
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  const std::string link = env.Path("bookmarks.htm");
  ASSERT_EQ(::symlink("real/bookmarks.htm", link.c_str()), 0);  // relative to the link's folder
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link is still a link";
  EXPECT_EQ(Contents(target), "new");
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // A link to a file not yet there makes the file where the link points.
  const std::string dangling = env.Path("state.ksd");
  ASSERT_EQ(::symlink(env.Path("real/state.ksd").c_str(), dangling.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dangling, "made"));
  EXPECT_EQ(Contents(env.Path("real/state.ksd")), "made");
}
#endif

TEST(FileSystem, ListingIsInCaseBlindNameOrderWithKinds) {
  testing::TestEnvironment env;
  for (const char* name : {"b.url", "A.url", "c"})
    ASSERT_TRUE(WriteFileAtomically(env.Path(name), ""));
  ASSERT_TRUE(CreateDirectories(env.Path("B folder")));
  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(env.Path("") + ".", entries));
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name + (e.is_directory ? "/" : ""));
  // Upper-cased byte order: "A.URL" < "B FOLDER" < "B.URL" < "C".
  EXPECT_EQ(names, (std::vector<std::string>{"A.url", "B folder/", "b.url", "c"}));
}

TEST(FileSystem, FoldersAreCreatedRemovedOnlyWhenEmptyAndDeletedAsTrees) {
  testing::TestEnvironment env;
  std::string sep(1, PathSeparator());
  std::string deep = env.Path("x") + sep + "y" + sep + "z";
  ASSERT_TRUE(CreateDirectories(deep));
  ASSERT_TRUE(WriteFileAtomically(deep + sep + "f", "1"));
  EXPECT_FALSE(RemoveEmptyDirectory(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(DeleteTree(env.Path("x")));
  EXPECT_FALSE(PathExists(env.Path("x")));
}

TEST(Paths, HostFolderCanBeRedirectedAndLibraryNamesMap) {
  testing::TestEnvironment env;
  EXPECT_EQ(HostProgramFolder(), env.Folder());
  UnsetEnv("KESTRO_HOST_FOLDER");
  EXPECT_EQ(HostProgramFolder(), FolderOf(OwnModuleFile())) << "a test program is its own host";
  std::string mapped = PlatformLibraryName("sync20.dll");
  EXPECT_TRUE(mapped == "sync20.so" || mapped == "sync20.dll") << mapped;
}

TEST(DynamicLibrary, ResolvesHostFunctionsAndReportsMissingOnes) {
  DynamicLibrary library(testing::BinFolder() + "hsapi.dll");
  ASSERT_TRUE(library.IsLoaded()) << library.Error();
  EXPECT_NE(library.Symbol("HsRefreshConduitInfo"), nullptr);
  EXPECT_EQ(library.Symbol("NoSuchFunction"), nullptr);
  DynamicLibrary missing(testing::BinFolder() + "no-such-library.dll");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_FALSE(missing.Error().empty());
}

}  // namespace
}  // namespace kestro::platform
