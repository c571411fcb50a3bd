// The environment mark: whoever caches switches must hear every change.
#include <gtest/gtest.h>

#include "platform/environment.h"

namespace kestro::platform {
namespace {

TEST(Environment, AMarkSeesEverySetChangeAndRemoval) {
  const char* const name = "KESTRO_ENVIRONMENT_MARK_TEST";
  UnsetEnv(name);
  EnvironmentMark mark;
  EXPECT_TRUE(EnvironmentChangedSince(mark));
  for (const char* value : {"one", "two", "one", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(value ? value : "(removed)");
#if !defined(_WIN32)  // there every call says "changed"
    EXPECT_FALSE(EnvironmentChangedSince(mark));
#endif
    if (value) {
      SetEnv(name, value);
    } else {
      UnsetEnv(name);
    }
    EXPECT_TRUE(EnvironmentChangedSince(mark));
    EXPECT_EQ(GetEnv(name), value ? std::optional<std::string>(value) : std::nullopt);
  }
}

}  // namespace
}  // namespace kestro::platform
