// The singleton registry and the conduit component's property rules.
#include "conduit/palm_component.h"

#include <gtest/gtest.h>

#include "palmdb/default_creator_id.h"

namespace kestro {
namespace {

class DerivedComponent : public ThcdPalmComponent {
 public:
  DerivedComponent() : ThcdPalmComponent("DerivedComponent", nullptr) {}
};

TEST(SingletonRegistry, OneInstancePerClassAndFreedOnDestruction) {
  EXPECT_THROW(FindConduitComponent(), Exception);
  {
    ThcdPalmComponent first;
    EXPECT_EQ(&FindConduitComponent(), &first);
    try {
      ThcdPalmComponent second;
      ADD_FAILURE() << "a second instance was constructed";
    } catch (const EhcdSingletonError& e) {
      EXPECT_EQ(e.Message(), "The class \"ThcdPalmComponent\" has already been instantiated");
    }
    EXPECT_EQ(&FindConduitComponent(), &first) << "the failed construction left the registry alone";
  }
  try {
    FindConduitComponent();
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The ThcdPalmComponent could not be found");
  }
  ThcdPalmComponent again;
  EXPECT_EQ(&FindConduitComponent(), &again);
}

TEST(SingletonRegistry, DerivedClassHasItsOwnKey) {
  DerivedComponent derived;
  EXPECT_EQ(FindSingleton("DerivedComponent"), &derived);
  EXPECT_THROW(FindConduitComponent(), Exception) << "a derived instance is not the conduit component";
  ThcdPalmComponent base;  // may coexist with the derived one
  EXPECT_EQ(&FindConduitComponent(), &base);
}

TEST(PalmComponent, DefaultsAfterConstruction) {
  ThcdPalmComponent c;
  EXPECT_EQ(c.ConduitName(), "");
  EXPECT_EQ(c.ConduitVersion(), "1.0");
  EXPECT_EQ(c.Version(), 256);
  EXPECT_EQ(c.Priority(), 2);
  EXPECT_EQ(c.Directory(), "Default");
  EXPECT_EQ(c.CreatorID(), "STRT");
  EXPECT_FALSE(c.SyncStarted());
}

TEST(PalmComponent, VersionTextRules) {
  ThcdPalmComponent c;
  c.SetConduitVersion("2.15");
  EXPECT_EQ(c.Version(), 527);
  EXPECT_EQ(c.ConduitVersion(), "2.15");
  for (const char* bad : {"1", "256.0", "-1.0", "a.b", "1.x", "1.256", ".", "1.2.3", ""}) {
    try {
      c.SetConduitVersion(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const ERegisterError& e) {
      EXPECT_EQ(e.Message(), "The specified version string was invalid");
    }
    EXPECT_EQ(c.Version(), 527) << "rejected '" << bad << "' must leave the version";
  }
  c.SetConduitVersion("0.0");
  EXPECT_EQ(c.Version(), 0);
  c.SetConduitVersion("255.255");
  EXPECT_EQ(c.Version(), 0xFFFF);
}

TEST(PalmComponent, PriorityAndCreatorIdRules) {
  ThcdPalmComponent c;
  for (int bad : {-1, 5}) {
    EXPECT_THROW(c.SetPriority(bad), ERegisterError);
    EXPECT_EQ(c.Priority(), 2);
  }
  c.SetPriority(0);
  c.SetPriority(4);
  EXPECT_EQ(c.Priority(), 4);

  DefaultCreatorID() = "";
  for (const char* bad : {"abc", "abcde"}) {
    try {
      c.SetCreatorID(bad);
      ADD_FAILURE() << bad;
    } catch (const ERegisterError& e) {
      EXPECT_EQ(e.Message(), "The Creator ID must be four characters long");
    }
  }
  EXPECT_EQ(c.CreatorID(), "STRT");
  EXPECT_EQ(DefaultCreatorID(), "") << "neither the default nor a rejected value reaches DefaultCreatorID";
  c.SetCreatorID("Kstr");
  EXPECT_EQ(DefaultCreatorID(), "Kstr");
}

}  // namespace
}  // namespace kestro
