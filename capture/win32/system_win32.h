#pragma once
// The program's small helpers over the Win32 API: owners of the handles it
// obtains, so that each is released on every path; the conversion between window
// handles and their 32-bit form; and the functions of newer Windows versions,
// looked up when they are needed, so that the program still loads on the systems
// that lack them.

#include <windows.h>

#include <cstdint>
#include <utility>

#include "capture/CaptureState.h"

namespace skl {

inline WindowHandle toWindowHandle(HWND hwnd) {
    // Window handles are 32-bit values, sign-extended in 64-bit processes.
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(hwnd));
}

inline HWND toHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle));
}

// A handle with a release function; movable, not copyable.
template <typename Handle, auto releaseFunction>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // Gives the handle up without releasing it (its new owner releases it).
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset() {
        if (handle_ != Handle{}) releaseFunction(handle_);
        handle_ = Handle{};
    }

private:
    Handle handle_{};
};

namespace detail {
inline void deleteDc(HDC dc) { DeleteDC(dc); }
inline void deleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void closeHandle(HANDLE handle) { CloseHandle(handle); }
inline void freeLibrary(HMODULE module) { FreeLibrary(module); }
}  // namespace detail

using DeviceContext = UniqueHandle<HDC, detail::deleteDc>;
using GdiBitmap = UniqueHandle<HBITMAP, detail::deleteGdiObject>;
using GdiFont = UniqueHandle<HFONT, detail::deleteGdiObject>;
using GdiBrush = UniqueHandle<HBRUSH, detail::deleteGdiObject>;
using LoadedLibrary = UniqueHandle<HMODULE, detail::freeLibrary>;

// A file handle; INVALID_HANDLE_VALUE means none.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        if (!valid()) return true;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
    }

private:
    HANDLE handle_;
};

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for the life of this value.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

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
