#include "tracker/matrix4.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<float> elementsOf(const Matrix4& matrix) {
    return {matrix.m, matrix.m + 16};
}

TEST(Matrix4, NinetyDegreesAboutZ) {
    const Matrix4 r = axisAngleMatrix(0, 0, 1, 90);
    EXPECT_NEAR(r.m[0], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(r.m[1], 1.0f);
    EXPECT_FLOAT_EQ(r.m[4], -1.0f);
    EXPECT_NEAR(r.m[5], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(r.m[10], 1.0f);
    EXPECT_EQ(r.m[15], 0.0f);
    for (int i : {2, 3, 6, 7, 8, 9, 11, 12, 13, 14}) {
        EXPECT_NEAR(r.m[i], 0.0f, 1e-6f) << i;
    }
}

TEST(Matrix4, AZeroAxisGivesTheRotationPartOfTheIdentity) {
    EXPECT_EQ(elementsOf(axisAngleMatrix(0, 0, 0, 45)),
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
}

TEST(Matrix4, ElementsOfTheSimpleMatrices) {
    Matrix4 m;
    EXPECT_FALSE(zeroMatrix(nullptr));
    EXPECT_FALSE(identityMatrix(nullptr));
    ASSERT_TRUE(identityMatrix(&m));
    EXPECT_EQ(elementsOf(m), (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(elementsOf(translationMatrix(1, 2, 3)),
              (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0}));
    const float nine[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(elementsOf(rotationMatrix9(nine)),
              (std::vector<float>{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 0, 0, 0, 0}));
}

TEST(Matrix4, ComposingPutsTheOffsetInTheBottomRow) {
    EXPECT_EQ(elementsOf(composeTransform(makeIdentityMatrix(), translationMatrix(1, 2, 3))),
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
    const Matrix4 turned =
        composeTransform(axisAngleMatrix(0, 0, 1, 90), translationMatrix(4, 5, 6));
    EXPECT_FLOAT_EQ(turned.m[1], 1.0f);
    EXPECT_EQ(turned.m[12], 4.0f);
    EXPECT_EQ(turned.m[15], 1.0f);
}

}  // namespace
