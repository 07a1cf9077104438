#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "libs/median.h"

namespace fw {
namespace {

TEST(Quantile, InterpolatesBetweenOrderStatistics) {
    struct Case {
        std::vector<double> values;
        double q;
        double expected;
    };
    const std::vector<Case> cases = {
        {{5}, 0.1, 5},
        {{5}, 0.9, 5},
        {{4, 1, 3, 2}, 0.5, 2.5},  // even count: mean of the middle two
        {{3, 1, 2}, 0.5, 2},
        {{7.5, 1.5, 3.5}, 0.1, 1.9},
        {{7.5, 1.5, 3.5}, 0.9, 6.7},
        {{9, 1, 5, 3, 7}, 0, 1},
        {{9, 1, 5, 3, 7}, 1, 9},
        {{2, 2, 2, 8}, 0.9, 6.2},
        {{-12, 30, -20, -12, 4}, 0.5, -12},  // the rig's samples: a repeated middle value
        {{3, -1}, 0.5, 1},
    };
    for (Case c : cases) EXPECT_NEAR(Quantile(c.values, c.q), c.expected, 1e-12) << c.q;
    for (Case c : cases)
        if (c.q == 0.5) EXPECT_NEAR(Median(c.values), c.expected, 1e-12);
    std::vector<double> none;  // no median exists: no number may pass for one
    EXPECT_TRUE(std::isnan(Median(none)));
    EXPECT_TRUE(std::isnan(Quantile(none, 0.1)));
}

}  // namespace
}  // namespace fw
