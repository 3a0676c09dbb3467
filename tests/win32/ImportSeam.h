#pragma once
// Link seams for the system calls of the code under test. Code built against the
// Windows headers calls a DLL's function through its import pointer: __imp_Name
// on x86-64, __imp__Name@ArgumentBytes on i686 (the __stdcall name). A test that
// defines that pointer itself is linked in place of the import library's entry,
// so the unchanged product code calls the test's function, which records what it
// was given and may pass the call on to the real function.

#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(__x86_64__)
#define SKL_IMPORT_POINTER(name, argumentBytes) __asm__("__imp_" #name)
#else
#define SKL_IMPORT_POINTER(name, argumentBytes) __asm__("__imp__" #name "@" #argumentBytes)
#endif

namespace skl::test {

// The real function, looked up in its DLL, which the test program has loaded.
template <typename Function>
Function realFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = GetModuleHandleW(dll);
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    if (!found) throw std::runtime_error(std::string("no entry point ") + name);
    // Through a function pointer without parameters, the one type every function
    // pointer may be cast from and back to.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The calls of one kind that a seam has seen, oldest first. A seam is a plain
// function, so what it records can only live here; each test clears it first.
template <typename Call>
std::vector<Call>& recordedCalls() {
    static std::vector<Call> calls;
    return calls;
}

inline std::optional<std::wstring> textOrNull(const wchar_t* text) {
    return text ? std::optional<std::wstring>(text) : std::nullopt;
}

}  // namespace skl::test
