#include "layout/LayoutRules.h"

#include <gtest/gtest.h>

namespace {

// The window's two stretched controls at a client size of 800 x 600.
constexpr QSize kBase{800, 600};
const QRect kToolBar{0, 0, 800, 65};
const QRect kGrid{0, 100, 800, 500};
// A control with half shares in every direction, to show the truncation.
const QRect kHalf{200, 300, 100, 60};

struct SPlaceCase
{
    const char* name;
    QSize client;
    QRect toolBar;
    QRect grid;
    QRect half;
};

class LayoutRulesPlace : public ::testing::TestWithParam<SPlaceCase>
{
};

TEST_P(LayoutRulesPlace, FollowsTheSizeChangeByShares)
{
    const SPlaceCase& c = GetParam();
    CLayoutRules rules;
    rules.SetUp(kBase);
    const int toolBar = rules.AddControl(kToolBar, 0, 0, 100, 0);
    const int grid = rules.AddControl(kGrid, 0, 0, 100, 100);
    const int half = rules.AddControl(kHalf, 50, 50, 50, 50);

    EXPECT_EQ(rules.Place(toolBar, c.client), c.toolBar);
    EXPECT_EQ(rules.Place(grid, c.client), c.grid);
    EXPECT_EQ(rules.Place(half, c.client), c.half);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutRulesPlace,
    ::testing::Values(SPlaceCase{"Unchanged", {800, 600}, kToolBar, kGrid, kHalf},
                      SPlaceCase{"Wider100", {900, 600}, {0, 0, 900, 65}, {0, 100, 900, 500}, {250, 300, 150, 60}},
                      SPlaceCase{"Taller50", {800, 650}, {0, 0, 800, 65}, {0, 100, 800, 550}, {200, 325, 100, 85}},
                      // 100 % of -37 is exact; 50 % of -37 is -18.5, truncated toward zero to -18.
                      SPlaceCase{"Narrower37", {763, 600}, {0, 0, 763, 65}, {0, 100, 763, 500}, {182, 300, 82, 60}},
                      SPlaceCase{"Wider37", {837, 600}, {0, 0, 837, 65}, {0, 100, 837, 500}, {218, 300, 118, 60}},
                      SPlaceCase{
                          "ShorterAndNarrower37", {763, 563}, {0, 0, 763, 65}, {0, 100, 763, 463}, {182, 282, 82, 42}},
                      // Smaller than the controls: sizes stop at 0 rather than going negative.
                      SPlaceCase{"Minimised", {0, 0}, {0, 0, 0, 65}, {0, 100, 0, 0}, {-200, 0, 0, 0}},
                      SPlaceCase{"TooSmallForTheGrid", {300, 50}, {0, 0, 300, 65}, {0, 100, 300, 0}, {-50, 25, 0, 0}}),
    [](const ::testing::TestParamInfo<SPlaceCase>& info) { return std::string(info.param.name); });

TEST(LayoutRules, RestoreAfterMinimiseGivesTheFirstLayout)
{
    CLayoutRules rules;
    rules.SetUp(kBase);
    rules.AddControl(kGrid, 0, 0, 100, 100);
    rules.AddControl(kHalf, 50, 50, 50, 50);

    for (const QSize size : {QSize(0, 0), QSize(1234, 987), QSize(3, 7), QSize(801, 599)}) {
        rules.Place(0, size);
        rules.Place(1, size);
    }
    EXPECT_EQ(rules.Place(0, kBase), kGrid);
    EXPECT_EQ(rules.Place(1, kBase), kHalf);
}

TEST(LayoutRules, SetUpForgetsTheControls)
{
    CLayoutRules rules;
    rules.SetUp(kBase);
    rules.AddControl(kGrid, 0, 0, 100, 100);
    rules.SetUp({640, 480});
    EXPECT_EQ(rules.Count(), 0);
    EXPECT_EQ(rules.BaseSize(), QSize(640, 480));
}

TEST(LayoutRules, HugeSizesDoNotOverflowTheShare)
{
    const SControlTag tag{{0, 0, 10, 10}, 0, 0, 100, 50};
    EXPECT_EQ(CLayoutRules::Place(tag, 40000000, 40000000), QRect(0, 0, 40000010, 20000010));
}

} // namespace
