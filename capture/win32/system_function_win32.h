#pragma once
// Functions of newer Windows versions, looked up when they are needed, so that the
// program still loads on the systems that lack them.

#include <windows.h>

namespace skl {

// The function of a library the process has already loaded (user32.dll, say);
// null where this Windows has no such function.
template <typename Function>
Function loadedSystemFunction(const wchar_t* module, const char* name) {
    const HMODULE loaded = GetModuleHandleW(module);
    if (!loaded) return nullptr;
    // Through a function pointer without parameters, the one type every function
    // pointer may be cast from and back to.
    using AnyFunction = void (*)();
    return reinterpret_cast<Function>(reinterpret_cast<AnyFunction>(GetProcAddress(loaded, name)));
}

}  // namespace skl
