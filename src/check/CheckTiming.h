#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

namespace korvex {

// The times the self-check measured per statement, in milliseconds, for the
// forecast: trivial reads (a round trip) and the writes of the dry run.
struct CheckTiming {
    std::vector<double> schoolReads;
    std::vector<double> schoolWrites;
    std::vector<double> examReads;
    std::vector<double> examWrites;

    // The median of `times`; 0 when there are none.
    static double median(std::vector<double> times) {
        if (times.empty()) return 0;
        std::sort(times.begin(), times.end());
        const std::size_t middle = times.size() / 2;
        return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    }
    // What one statement of each kind costs: the slower of a read and a
    // write, since an operation's statements are mostly writes.
    double schoolStatement() const { return std::max(median(schoolReads), median(schoolWrites)); }
    double examStatement() const { return std::max(median(examReads), median(examWrites)); }
};

// Runs `statement` and adds its time in milliseconds to `times`; what it
// returned comes back.
template <typename Statement>
auto timed(std::vector<double>& times, Statement&& statement) {
    QElapsedTimer timer;
    timer.start();
    auto result = statement();
    times.push_back(double(timer.nsecsElapsed()) / 1e6);
    return result;
}

}  // namespace korvex
