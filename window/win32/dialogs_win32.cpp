#include "window/win32/dialogs_win32.h"

#include <vector>

#include "window/win32/fatal_win32.h"

namespace skl {
namespace {

enum : WORD { idPrompt = 100, idAnswer = 101 };

// Builds the input box's dialog template in memory: prompt at the top left, OK and
// Cancel at the right, the answer's edit box along the bottom.
class DialogTemplate {
public:
    DialogTemplate(const Text& title, short width, short height) {
        align(4);
        DLGTEMPLATE header{};
        header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        header.cx = width;
        header.cy = height;
        append(&header, sizeof header);
        word(0);  // no menu
        word(0);  // the standard dialog class
        text(title);
        word(8);  // point size of the font
        text(L"MS Shell Dlg");
        countAt_ = offsetof(DLGTEMPLATE, cdit);
    }

    void item(WORD id, WORD systemClass, const Text& caption, DWORD style, short x, short y, short cx, short cy) {
        align(4);
        DLGITEMTEMPLATE entry{};
        entry.style = style | WS_CHILD | WS_VISIBLE;
        entry.x = x;
        entry.y = y;
        entry.cx = cx;
        entry.cy = cy;
        entry.id = id;
        append(&entry, sizeof entry);
        word(0xFFFF);
        word(systemClass);
        text(caption);
        word(0);  // no creation data
        ++*reinterpret_cast<WORD*>(bytes_.data() + countAt_);
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void append(const void* data, std::size_t size) {
        const auto* first = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    }
    void word(WORD value) { append(&value, sizeof value); }
    void text(const Text& value) { append(value.c_str(), (value.size() + 1) * sizeof(wchar_t)); }
    void align(std::size_t boundary) { bytes_.resize((bytes_.size() + boundary - 1) / boundary * boundary, 0); }

    std::vector<std::uint8_t> bytes_;
    std::size_t countAt_ = 0;
};

struct InputBoxData {
    const Text* prompt;
    Text answer;
};

INT_PTR inputBoxMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetDlgItemTextW(dialog, idPrompt, reinterpret_cast<InputBoxData*>(lParam)->prompt->c_str());
            SetFocus(GetDlgItem(dialog, idAnswer));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                const HWND edit = GetDlgItem(dialog, idAnswer);
                std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
                GetWindowTextW(edit, buffer.data(), static_cast<int>(buffer.size()));
                data->answer = buffer.data();
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

// A fault while the box is open ends the program, after saying so; the box closes
// with the event loop.
INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return guarded(dialog, INT_PTR{FALSE}, [&] { return inputBoxMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void Win32Dialogs::messageBox(const Text& prompt, MessageIcon icon, const Text& title) {
    const UINT iconStyle = icon == MessageIcon::Question      ? MB_ICONQUESTION
                           : icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION
                                                              : 0;
    MessageBoxW(owner_, prompt.c_str(), title.c_str(), MB_OK | iconStyle);
}

Text Win32Dialogs::inputBox(const Text& prompt, const Text& title) {
    DialogTemplate box(title, 240, 80);
    box.item(idPrompt, 0x0082 /* static */, L"", SS_LEFT | SS_NOPREFIX, 6, 6, 172, 46);
    box.item(IDOK, 0x0080 /* button */, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 184, 6, 50, 14);
    box.item(IDCANCEL, 0x0080, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 184, 24, 50, 14);
    box.item(idAnswer, 0x0081 /* edit */, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 58, 228, 14);
    InputBoxData data{&prompt, {}};
    const INT_PTR pressed = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), owner_, inputBoxProc,
                                                    reinterpret_cast<LPARAM>(&data));
    return pressed == IDOK ? data.answer : Text{};
}

}  // namespace skl
