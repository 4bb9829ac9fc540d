#include "Statistics.hpp"

#include <gtest/gtest.h>

TEST(Summarize, TheMedianOfAnOddCountIsTheMiddleValueWhateverTheOrder)
{
    const Summary summary = summarize({9.0, 1.0, 5.0, 7.0, 3.0});
    EXPECT_DOUBLE_EQ(summary.median, 5.0);
    EXPECT_DOUBLE_EQ(summary.min, 1.0);
    EXPECT_DOUBLE_EQ(summary.max, 9.0);
    EXPECT_EQ(summary.count, 5);
}

TEST(Summarize, TheMedianOfAnEvenCountIsTheMeanOfTheTwoMiddleValues)
{
    EXPECT_DOUBLE_EQ(summarize({4.0, 1.0, 10.0, 2.0}).median, 3.0);
}

TEST(Summarize, NothingMeasuredGivesAnEmptySummary)
{
    const Summary summary = summarize({});
    EXPECT_EQ(summary.count, 0);
    EXPECT_DOUBLE_EQ(summary.median, 0.0);
}

TEST(Ratios, PairTheRunsInOrderAndDropWhatHasNoPartnerOrAZeroFloor)
{
    const std::vector<double> result = ratios({2.0, 3.0, 8.0, 5.0}, {1.0, 0.0, 4.0});
    ASSERT_EQ(result.size(), 2u);
    EXPECT_DOUBLE_EQ(result[0], 2.0);
    EXPECT_DOUBLE_EQ(result[1], 2.0);
}
