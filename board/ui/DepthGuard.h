// A counter of nested calls for the board component's re-entrancy checks.
#pragma once

namespace qv {

// Counts nesting, also when the guarded code leaves by an exception.
struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
};

} // namespace qv
