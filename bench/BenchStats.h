#pragma once
#include <algorithm>
#include <vector>

// The middle of the values (the upper middle of an even count); -1 when there are none.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
