#include "drill/motion.h"

#include <gtest/gtest.h>

using namespace drill;

namespace {

// Reference positions worked out separately (a short script in single precision), two places.
void ExpectPath(float start, const Slide& slide, std::vector<double> expected, float final)
{
    const std::vector<float> path = SlidePositions(start, slide);
    ASSERT_EQ(path.size(), expected.size() + 1) << "steps from " << start;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(path[i], expected[i], 0.006) << "step " << i + 1 << " from " << start;
    EXPECT_EQ(path.back(), final);
}

} // namespace

TEST(Slides, PassThroughTheExpectedPositionsAndRestOnTheirFinalValue)
{
    using namespace slides;
    ExpectPath(27, SettingsUp, {-48.67, -99.11, -132.74, -155.16, -170.11, -180.07, -186.71, -191.14}, -190);
    ExpectPath(6, TitleOut, {-196.00, -330.67, -420.44, -480.30, -520.20, -546.80, -564.53, -576.35, -584.24,
                             -589.49, -592.99}, -600);
    ExpectPath(600, ResultsIn, {401.67, 269.44, 181.30, 122.53, 83.35, 57.24, 39.82, 28.22, 20.48, 15.32, 11.88,
                                9.59, 8.06, 7.04, 6.36}, 5);
    ExpectPath(700, ResultsIn, {468.33, 313.89, 210.93, 142.28, 96.52, 66.02, 45.68, 32.12, 23.08, 17.05, 13.03,
                                10.36, 8.57, 7.38, 6.59}, 5);
    ExpectPath(-190, SettingsIntoResults, {-125.00, -81.67, -52.78, -33.52, -20.68, -12.12, -6.41, -2.61, -0.07,
                                           1.62}, 5);
    ExpectPath(5, SettingsUp, {-63.33, -108.89, -139.26, -159.51, -173.00, -182.00, -188.00, -192.00}, -190);
    ExpectPath(5, ResultsOut, {144.00, 255.20, 344.16, 415.33, 472.26, 517.81, 554.25, 583.40, 606.72, 625.37,
                               640.30, 652.24}, 700);
    ExpectPath(-600, TitleIn, {-398.00, -263.33, -173.56, -113.70, -73.80, -47.20, -29.47, -17.65, -9.76, -4.51,
                               -1.01, 1.33}, 6);
    ExpectPath(-190, SettingsDown, {-117.67, -69.44, -37.30, -15.86, -1.58, 7.95, 14.30, 18.53, 21.36, 23.24}, 27);
}

TEST(Slides, APanelAlreadyPastItsThresholdMakesExactlyOneStep)
{
    const std::vector<float> path = SlidePositions(-195, slides::SettingsUp);
    ASSERT_EQ(path.size(), 2u);
    EXPECT_NEAR(path[0], -196.67, 0.006);
    EXPECT_EQ(path[1], -190);
}
