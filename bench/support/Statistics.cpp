#include "Statistics.hpp"

#include <algorithm>

Summary summarize(std::vector<double> values)
{
    Summary summary;
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    summary.median = values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
    summary.min = values.front();
    summary.max = values.back();
    summary.count = static_cast<int>(values.size());
    return summary;
}

std::vector<double> ratios(const std::vector<double>& numerators, const std::vector<double>& denominators)
{
    std::vector<double> result;
    const std::size_t pairs = std::min(numerators.size(), denominators.size());
    for (std::size_t i = 0; i < pairs; ++i)
    {
        if (denominators[i] != 0.0)
            result.push_back(numerators[i] / denominators[i]);
    }
    return result;
}
