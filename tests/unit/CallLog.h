#pragma once
// What the fakes were asked to do, in one log shared by the scripted desktop and the
// recording view, so a test can check the order of calls across both.

#include <functional>
#include <vector>

#include "capture/Text.h"

namespace skl::test {

struct Call {
    Text what;    // the interface method, e.g. L"leave"
    Text detail;  // its main argument as text, e.g. the path of a written file
};

class CallLog {
public:
    std::vector<Call> calls;
    // Runs right after a call is logged, inside it: lets a test look at or act on the
    // program's state at that moment (a click during the yield, a look at a button
    // while its dialog is open).
    std::function<void(const Call&)> onCall;

    void log(Text what, Text detail = {});
    // The names of the logged calls, in order; only those in `of` when it is given.
    std::vector<Text> callNames(const std::vector<Text>& of = {}) const;
    std::size_t count(const Text& what) const;
};

}  // namespace skl::test
