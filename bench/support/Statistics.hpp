#pragma once

#include <vector>

// The spread of repeated measurements: the median stands for them, the extremes say how noisy they were.
struct Summary
{
    double median = 0.0;
    double min = 0.0;
    double max = 0.0;
    int count = 0;
};

// An empty set of values gives a summary with count 0 and zeros.
[[nodiscard]] Summary summarize(std::vector<double> values);
// Element-wise numerator / denominator over the pairs both sides have.
[[nodiscard]] std::vector<double> ratios(const std::vector<double>& numerators,
                                         const std::vector<double>& denominators);
