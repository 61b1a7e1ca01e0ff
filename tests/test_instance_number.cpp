#include "app/instance_number.h"

#include <gtest/gtest.h>

#include "app/help_file_path.h"
#include "fakes/fake_instance_markers.h"

namespace kestrum {
namespace {

TEST(AcquireInstanceNumber, TakesTheLowestFreeNumber) {
    FakeInstanceMarkers markers;
    InstanceInfo first = AcquireInstanceNumber(markers, "analyser");
    EXPECT_EQ(first.Number, 1);
    EXPECT_TRUE(first.IsMaster);
    InstanceInfo second = AcquireInstanceNumber(markers, "analyser");
    EXPECT_EQ(second.Number, 2);
    EXPECT_FALSE(second.IsMaster);
    EXPECT_TRUE(markers.Exists("analyser1"));
    EXPECT_TRUE(markers.Exists("analyser2"));

    // The master ends: its number is free again at once, the gap is filled
    // before a higher number is taken.
    ReleaseInstanceMutex(markers, first);
    InstanceInfo third = AcquireInstanceNumber(markers, "analyser");
    EXPECT_EQ(third.Number, 1);
    EXPECT_TRUE(third.IsMaster);
    EXPECT_EQ(AcquireInstanceNumber(markers, "analyser").Number, 3);
}

TEST(AcquireInstanceNumber, ClosesHandlesOfTakenNumbersAtOnce) {
    FakeInstanceMarkers markers;
    const InstanceInfo first = AcquireInstanceNumber(markers, "a");
    markers.Calls.clear();
    const InstanceInfo second = AcquireInstanceNumber(markers, "a");
    EXPECT_EQ(markers.OpenHandleCount(), 2u);  // one per instance, no probes
    EXPECT_EQ(markers.Calls, (std::vector<std::string>{
                                 "create a1", "close " + std::to_string(second.InstanceMutex - 1),
                                 "create a2"}));
    EXPECT_NE(first.InstanceMutex, second.InstanceMutex);
}

TEST(AcquireInstanceNumber, DifferentProgramNamesCountSeparately) {
    FakeInstanceMarkers markers;
    EXPECT_EQ(AcquireInstanceNumber(markers, "a").Number, 1);
    EXPECT_EQ(AcquireInstanceNumber(markers, "b").Number, 1);
    EXPECT_EQ(AcquireInstanceNumber(markers, "a").Number, 2);
}

TEST(AcquireInstanceNumber, AFailingMarkerCountsAsFreeWithAnInvalidHandle) {
    FakeInstanceMarkers markers;
    markers.FailingNames = {"a1"};
    InstanceInfo instance = AcquireInstanceNumber(markers, "a");
    EXPECT_EQ(instance.Number, 1);
    EXPECT_TRUE(instance.IsMaster);
    EXPECT_EQ(instance.InstanceMutex, kInvalidMarkerHandle);
    markers.Calls.clear();
    ReleaseInstanceMutex(markers, instance);  // nothing to release
    EXPECT_TRUE(markers.Calls.empty());
}

TEST(AcquireInstanceNumber, AllNumbersTakenGivesZero) {
    FakeInstanceMarkers markers;
    for (int i = 1; i <= kMaxInstanceNumber; ++i)
        ASSERT_EQ(AcquireInstanceNumber(markers, "a").Number, i);
    InstanceInfo extra = AcquireInstanceNumber(markers, "a");
    EXPECT_EQ(extra.Number, 0);
    EXPECT_FALSE(extra.IsMaster);
    EXPECT_EQ(extra.InstanceMutex, kInvalidMarkerHandle);
    EXPECT_EQ(markers.OpenHandleCount(), static_cast<std::size_t>(kMaxInstanceNumber));
    EXPECT_EQ(markers.Calls.back().rfind("close ", 0), 0u);  // the last probe is not kept
    EXPECT_FALSE(markers.Exists("a257"));
}

TEST(ReleaseInstanceMutex, ReleasesThenClosesOnce) {
    FakeInstanceMarkers markers;
    InstanceInfo instance = AcquireInstanceNumber(markers, "a");
    const std::string handle = std::to_string(instance.InstanceMutex);
    markers.Calls.clear();
    ReleaseInstanceMutex(markers, instance);
    ReleaseInstanceMutex(markers, instance);
    EXPECT_EQ(markers.Calls, (std::vector<std::string>{"release " + handle, "close " + handle}));
    EXPECT_EQ(instance.InstanceMutex, kInvalidMarkerHandle);
    EXPECT_FALSE(markers.Exists("a1"));
}

TEST(HelpFilePath, BesideTheProgramByLanguage) {
    EXPECT_EQ(HelpFilePath("/opt/kestrum/", 1), "/opt/kestrum/English.HLP");
    EXPECT_EQ(HelpFilePath("/opt/kestrum/", 2), "/opt/kestrum/German.HLP");
    EXPECT_EQ(HelpFilePath("  /opt/kestrum  ", 2), "/opt/kestrum/German.HLP");
    EXPECT_EQ(HelpFilePath("C:\\Tools\\", 1), "C:\\Tools\\English.HLP");
    EXPECT_EQ(HelpFilePath("", 1), "English.HLP");
    EXPECT_EQ(HelpFilePath("/opt/", 7), "/opt/English.HLP");
}

}  // namespace
}  // namespace kestrum
