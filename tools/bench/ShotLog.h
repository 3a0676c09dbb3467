#pragma once
// The record of one snapshot: when each timed port call began (its first time in
// the shot and its last) and ended (its last time).

#include <array>
#include <cstddef>

#include "tools/bench/Stopwatch.h"

namespace skl::bench {

enum class Call { findWindow, restoredCorner, leave, yield, grab, clipboard, showPreview, writeFile, comeBack };
inline constexpr std::size_t callCount = 9;

class ShotLog {
public:
    void clear() { spans_.fill({}); }
    void enter(Call call) {
        Span& span = spans_[index(call)];
        span.lastBegin = nowMs();
        if (span.begin < 0) span.begin = span.lastBegin;
    }
    void leave(Call call) { spans_[index(call)].end = nowMs(); }
    bool happened(Call call) const { return spans_[index(call)].end >= 0; }
    double startOf(Call call) const { return spans_[index(call)].begin; }
    double endOf(Call call) const { return spans_[index(call)].end; }
    double length(Call call) const { return endOf(call) - startOf(call); }
    double lastStartOf(Call call) const { return spans_[index(call)].lastBegin; }
    double lastLength(Call call) const { return endOf(call) - lastStartOf(call); }

private:
    static std::size_t index(Call call) { return static_cast<std::size_t>(call); }
    struct Span {
        double begin = -1;
        double lastBegin = -1;
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
