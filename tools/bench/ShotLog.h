#pragma once
// The record of one snapshot: when each timed port call began (its first time in
// the shot) and ended (its last time).

#include <array>
#include <cstddef>

#include "tools/bench/Stopwatch.h"

namespace skl::bench {

enum class Call { findWindow, readPlacement, minimise, yield, waitUntilClear, grab, clipboard, showPreview,
                  writeFile, restore };
inline constexpr std::size_t callCount = 10;

class ShotLog {
public:
    void clear() { spans_.fill({}); }
    void enter(Call call) {
        Span& span = spans_[index(call)];
        if (span.begin < 0) span.begin = nowMs();
    }
    void leave(Call call) { spans_[index(call)].end = nowMs(); }
    bool happened(Call call) const { return spans_[index(call)].end >= 0; }
    double startOf(Call call) const { return spans_[index(call)].begin; }
    double endOf(Call call) const { return spans_[index(call)].end; }
    double length(Call call) const { return endOf(call) - startOf(call); }

private:
    static std::size_t index(Call call) { return static_cast<std::size_t>(call); }
    struct Span {
        double begin = -1;
        double end = -1;
    };
    std::array<Span, callCount> spans_{};
};

// Notes one call in the log for as long as it lives.
class Timed {
public:
    Timed(ShotLog& log, Call call) : log_(log), call_(call) { log_.enter(call_); }
    ~Timed() { log_.leave(call_); }
    Timed(const Timed&) = delete;
    Timed& operator=(const Timed&) = delete;

private:
    ShotLog& log_;
    Call call_;
};

}  // namespace skl::bench
