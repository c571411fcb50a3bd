#include "platform/file_system.h"

#include <gtest/gtest.h>

#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/process_paths.h"
#include "support/test_environment.h"

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

TEST(FileSystem, ListingIsInCaseBlindNameOrderWithKinds) {
  testing::TestEnvironment env;
  for (const char* name : {"b.url", "A.url", "c"}) ASSERT_TRUE(WriteFileAtomically(env.Path(name), ""));
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
