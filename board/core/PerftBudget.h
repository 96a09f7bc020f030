// A limit for leaf counts: a node budget and a wall-clock deadline, so that a count
// asked for at a depth that would run for years stops cleanly instead.
#pragma once

#include <chrono>

namespace qv {

class PerftBudget {
public:
    // 0 means no limit.
    PerftBudget(long long maxNodes, long long maxMilliseconds)
        : maxNodes_(maxNodes), maxMs_(maxMilliseconds), start_(Clock::now()) {}

    // Counts n visited positions; false once a limit has been reached (and from then on).
    bool Spend(long long n) {
        if (exhausted_) return false;
        nodes_ += n;
        if (maxNodes_ > 0 && nodes_ > maxNodes_) exhausted_ = true;
        if (maxMs_ > 0 && nodes_ >= nextClockCheck_) {
            nextClockCheck_ = nodes_ + 4096;
            if (Clock::now() - start_ >= std::chrono::milliseconds(maxMs_)) exhausted_ = true;
        }
        return !exhausted_;
    }
    bool Exhausted() const { return exhausted_; }
    long long Nodes() const { return nodes_; }

private:
    using Clock = std::chrono::steady_clock;
    long long maxNodes_, maxMs_;
    Clock::time_point start_;
    long long nodes_ = 0;
    long long nextClockCheck_ = 0;
    bool exhausted_ = false;
};

} // namespace qv
