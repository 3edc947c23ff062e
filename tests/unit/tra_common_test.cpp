#include "tracker/tra_common.h"

#include <gtest/gtest.h>

#include <vector>

#include "plain_logger.h"
#include "stdout_capture.h"

namespace {

std::vector<float> elementsOf(const Matrix4& matrix) {
    return {matrix.m, matrix.m + 16};
}

const std::vector<float> identity = elementsOf(makeIdentityMatrix());
const std::vector<float> zero(16, 0.0f);

TEST(TrackerHandler, AfterConstructionTheTransmitterTransformIsTheIdentity) {
    const CLogH log = plainLogger("t", 3);
    StdoutCapture out;
    {
        CTraCommonH handler(&log);
        EXPECT_EQ(elementsOf(handler.transmitterOffset), zero);
        EXPECT_EQ(elementsOf(handler.transmitterRotation), identity);
        EXPECT_EQ(elementsOf(handler.transmitterTransform), identity);
        EXPECT_FALSE(handler.hasTransmitterOffset || handler.hasTransmitterRotation);
        EXPECT_TRUE(handler.inputConnector);
        EXPECT_EQ(handler.trackerCount, 0u);
        EXPECT_EQ(handler.calibration, nullptr);
    }
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "t: DEBUG: CTraCommonH: \"constructor\" called.",
                               "t: DEBUG: CTraCommonH: \"destructor\" called.",
                           }));
}

TEST(TrackerHandler, SizingGivesEveryTrackerItsInitialSettings) {
    CTraCommonH handler(nullptr);
    EXPECT_FALSE(handler.setTrackerCount(0));
    EXPECT_FALSE(handler.initTracker(1, 1, nullptr, nullptr, nullptr));
    ASSERT_TRUE(handler.setTrackerCount(3));
    ASSERT_TRUE(handler.initTracker(1, 1, nullptr, nullptr, nullptr));
    EXPECT_FALSE(handler.initTracker(4, 1, nullptr, nullptr, nullptr));
    for (std::uint32_t i = 1; i <= 3; ++i) {
        const TrackerSettings& tracker = handler.trackers[i - 1];
        EXPECT_EQ(tracker.order, i == 1 ? 1u : 0u);
        EXPECT_EQ(elementsOf(tracker.sensorOffset), zero);
        EXPECT_EQ(elementsOf(tracker.sensorRotation), identity);
        EXPECT_EQ(elementsOf(tracker.sensorTransform), identity);
        EXPECT_FALSE(tracker.hasSensorOffset || tracker.hasSensorRotation ||
                     tracker.hasSensorTranslation);
    }
}

TEST(TrackerHandler, GivenItemsAreKeptAndSizingAgainDiscardsThem) {
    CTraCommonH handler(nullptr);
    ASSERT_TRUE(handler.setTrackerCount(2));
    const Matrix4 offset = translationMatrix(1, 2, 3);
    const Matrix4 rotation = axisAngleMatrix(0, 0, 1, 90);
    const float translation[3] = {4, 5, 6};
    ASSERT_TRUE(handler.initTracker(2, 1, &offset, &rotation, translation));
    const TrackerSettings& tracker = handler.trackers[1];
    EXPECT_TRUE(tracker.hasSensorOffset && tracker.hasSensorRotation &&
                tracker.hasSensorTranslation);
    EXPECT_EQ(elementsOf(tracker.sensorTransform), elementsOf(composeTransform(rotation, offset)));
    EXPECT_EQ(std::vector<float>(tracker.sensorTranslation, tracker.sensorTranslation + 3),
              (std::vector<float>{4, 5, 6}));

    ASSERT_TRUE(handler.setTrackerCount(2));
    EXPECT_EQ(handler.trackers[1].order, 0u);
    EXPECT_FALSE(handler.trackers[1].hasSensorOffset);
    EXPECT_EQ(elementsOf(handler.trackers[1].sensorTransform), identity);
}

}  // namespace
