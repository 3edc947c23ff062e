#include "cycle_times.h"

#include <algorithm>
#include <cmath>

void CycleTimes::add(std::chrono::nanoseconds time) {
    const double microseconds = std::max(1.0, static_cast<double>(time.count()) / 1e3);
    const auto bucket = static_cast<std::size_t>(std::log2(microseconds) * stepsPerDoubling);
    ++buckets[std::min(bucket, bucketCount - 1)];
    ++cycles;
    largest = std::max(largest, time);
}

double CycleTimes::quantileMs(double share) const {
    if (cycles == 0) {
        return 0.0;
    }
    const auto wanted = static_cast<std::uint64_t>(std::ceil(share * static_cast<double>(cycles)));
    std::uint64_t seen = 0;
    for (std::size_t bucket = 0; bucket < bucketCount; ++bucket) {
        seen += buckets[bucket];
        if (seen >= std::max<std::uint64_t>(wanted, 1)) {
            // The bucket's middle, on the same scale as its edges; never beyond the largest.
            const double middle =
                std::exp2((static_cast<double>(bucket) + 0.5) / stepsPerDoubling) / 1e3;
            return std::min(middle, largestMs());
        }
    }
    return largestMs();
}
