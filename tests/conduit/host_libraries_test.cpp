// Where the conduit looks for the HotSync libraries when the registry names
// the host program.
#include "conduit/host_libraries.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(HotSyncLibraries, HotSyncPathGivesItsFolderWhicheverSeparatorItUses) {
  struct Case {
    std::string path;
    const char* folder;
  } cases[] = {
      {"C:\\Palm\\HotSync.exe", "C:\\Palm\\"},
      {"/opt/palm/hotsync", "/opt/palm/"},
      {"C:/Palm/HotSync.exe", "C:/Palm/"},
      {std::string("/opt/palm/hotsync\0/junk", 23), "/opt/palm/"},
      {"hotsync", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(HotSyncPathFolder(c.path), c.folder) << c.path;
}

}  // namespace
}  // namespace kestro
