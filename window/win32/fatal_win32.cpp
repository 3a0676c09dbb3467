#include "window/win32/fatal_win32.h"

#include <cstddef>
#include <exception>
#include <new>

#include "capture/Text.h"

namespace skl {
namespace {

constexpr wchar_t faultPrompt[] = L"The program met a fault it cannot recover from, and ends now.";

// The prompt and, where the fault says what it is, that too, in a buffer of its own:
// out of memory nothing more may be allocated. The fault's text is widened
// character by character (it is the library's plain ASCII).
class FaultText {
public:
    explicit FaultText(const char* detail) {
        append(faultPrompt);
        if (detail == nullptr || *detail == '\0') return;
        append(L"\n\n");
        for (; *detail != '\0' && used_ + 1 < capacity; ++detail) text_[used_++] = static_cast<unsigned char>(*detail);
        text_[used_] = L'\0';
    }
    const wchar_t* get() const { return text_; }

private:
    static constexpr std::size_t capacity = 512;
    void append(const wchar_t* part) {
        for (; *part != L'\0' && used_ + 1 < capacity; ++part) text_[used_++] = *part;
        text_[used_] = L'\0';
    }
    wchar_t text_[capacity] = {};
    std::size_t used_ = 0;
};

// What the exception being handled says of itself.
const char* detailOfCurrentFault() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "There was no memory left.";
    } catch (const std::exception& fault) {
        return fault.what();
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

void tellWhyTheProgramEnds(HWND owner, const wchar_t* why) noexcept {
    MessageBoxW(owner, why, productTitle, MB_OK | MB_ICONERROR);
}

void endAfterFault(HWND window) noexcept {
    const FaultText text(detailOfCurrentFault());
    tellWhyTheProgramEnds(window, text.get());
    PostQuitMessage(1);
}

}  // namespace skl
