// The desktop fault switch: which call it fails, counted per entry and
// restarted by a new value, and nothing when unset or mistyped.
#include "platform/fault_switch.h"

#include <gtest/gtest.h>

#include "platform/environment.h"
#include "support/test_environment.h"

namespace kestro::platform {
namespace {

// Which of n calls on path fail under the switch, e.g. "--x-".
std::string Failures(FileOperation operation, const std::string& path, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += FaultRequested(operation, path) ? 'x' : '-';
  return out;
}

TEST(FaultSwitch, FailsTheCountedCallsItNames) {
  testing::TestEnvironment env;
  struct Case {
    const char* value;
    FileOperation operation;
    const char* path;
    const char* failures;
  } cases[] = {
      {"", FileOperation::kWrite, "/f/KestroNS.ksd", "----"},
      {"write:2", FileOperation::kWrite, "/f/KestroNS.ksd", "-x--"},
      {"write:2", FileOperation::kRename, "/f/a", "----"},
      {"write:*:.url", FileOperation::kWrite, "/f/News.url", "xxxx"},
      {"write:*:.url", FileOperation::kWrite, "/f/KestroNS.ksd", "----"},
      {"rename:1,delete:3", FileOperation::kDelete, "/f/a", "--x-"},
      {"mkdir:1:News", FileOperation::kMakeFolder, "/f/News", "x---"},
      {"write:0,write:x,chmod:1,write", FileOperation::kWrite, "/f/a", "----"},
  };
  for (const Case& c : cases) {
    SetEnv(kPlatformFaultVariable, c.value);
    EXPECT_EQ(Failures(c.operation, c.path, 4), c.failures) << c.value << " on " << c.path;
  }
  // Calls that the text leaves out do not count towards the entry.
  SetEnv(kPlatformFaultVariable, "write:2:.ksd");
  EXPECT_EQ(Failures(FileOperation::kWrite, "/f/bookmarks.htm", 3), "---");
  EXPECT_EQ(Failures(FileOperation::kWrite, "/f/KestroNS.ksd", 3), "-x-");
  // A new value counts from the start again; unset fails nothing.
  SetEnv(kPlatformFaultVariable, "write:1");
  EXPECT_EQ(Failures(FileOperation::kWrite, "/f/a", 2), "x-");
  UnsetEnv(kPlatformFaultVariable);
  EXPECT_EQ(Failures(FileOperation::kWrite, "/f/a", 2), "--");
  SetEnv(kPlatformFaultVariable, "write:1");
  EXPECT_EQ(Failures(FileOperation::kWrite, "/f/a", 2), "x-");
  UnsetEnv(kPlatformFaultVariable);
}

}  // namespace
}  // namespace kestro::platform
