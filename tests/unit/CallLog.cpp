#include "CallLog.h"

#include <algorithm>
#include <utility>

namespace skl::test {

void CallLog::log(Text what, Text detail) {
    calls.push_back({std::move(what), std::move(detail)});
    if (onCall) onCall(calls.back());
}

std::vector<Text> CallLog::callNames(const std::vector<Text>& of) const {
    std::vector<Text> names;
    for (const Call& call : calls) {
        if (of.empty() || std::find(of.begin(), of.end(), call.what) != of.end()) names.push_back(call.what);
    }
    return names;
}

std::size_t CallLog::count(const Text& what) const {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& call) { return call.what == what; }));
}

}  // namespace skl::test
