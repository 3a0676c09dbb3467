#include "FakeDesktop.h"

#include <algorithm>
#include <string>
#include <utility>

#include "capture/HeldPicture.h"

namespace skl::test {
namespace {

const wchar_t* pairName(Pair pair) {
    switch (pair) {
        case Pair::directions: return L"directions";
        case Pair::newcam: return L"newcam";
        case Pair::pick: return L"pick";
        case Pair::prev: return L"prev";
        case Pair::ontop: return L"ontop";
    }
    return L"?";
}

Text rectText(const ScreenRect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom);
}

}  // namespace

std::uint32_t positionPixel(std::int32_t x, std::int32_t y) {
    return static_cast<std::uint32_t>((x & 0xFFF) << 12 | (y & 0xFFF));
}

FakeDesktop::FakeDesktop() : screenPixel(positionPixel) {
    // As the window opens: index 0 of every pair shown, index 1 hidden.
    for (Pair pair : {Pair::directions, Pair::newcam, Pair::pick, Pair::prev, Pair::ontop}) {
        visible[{pair, 0}] = true;
        visible[{pair, 1}] = false;
    }
}

CapturePorts FakeDesktop::capturePorts() {
    return CapturePorts{*this, *this, *this, *this, *this, *this, *this, *this, *this};
}

Form1Ports FakeDesktop::form1Ports() {
    return Form1Ports{folderSeparator, *this, capturePorts(), *this, *this, *this, *this, *this};
}

WindowHandle FakeDesktop::openViewer(const Text& title, ScreenPoint corner) {
    const auto handle = static_cast<WindowHandle>(0x100 + windowsByTitle.size());
    windowsByTitle[title] = handle;
    restoredCorners[handle] = corner;
    return handle;
}

std::vector<Text> FakeDesktop::callNames(const std::vector<Text>& of) const {
    std::vector<Text> names;
    for (const Call& call : calls) {
        if (of.empty() || std::find(of.begin(), of.end(), call.what) != of.end()) names.push_back(call.what);
    }
    return names;
}

std::size_t FakeDesktop::count(const Text& what) const {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& call) { return call.what == what; }));
}

void FakeDesktop::log(Text what, Text detail) {
    calls.push_back({std::move(what), std::move(detail)});
    if (onCall) onCall(calls.back());
}

void FakeDesktop::setIdCaption(const Text& caption) {
    idLabel = caption;
    log(L"setIdCaption", caption);
}

std::optional<ScreenRect> FakeDesktop::outerFrame() {
    return minimised ? std::nullopt : ownFrame;
}

void FakeDesktop::leave(Leaving how) {
    minimised = true;
    leftAs = how;
    leftAt = monotonicMs;
    backAt.reset();
    log(L"leave", how == Leaving::Minimise ? L"minimise" : L"at once");
}

bool FakeDesktop::hasLeft() {
    if (!leftAs || (*leftAs == Leaving::Minimise && minimiseIgnored)) return false;
    return monotonicMs - leftAt >= leaveTakesMs;
}

bool FakeDesktop::awaitComposedFrame() {
    if (!offersComposedFrames) return false;
    log(L"awaitComposedFrame");
    monotonicMs += 16;
    return true;
}

void FakeDesktop::comeBack(const std::optional<ScreenRect>& frame) {
    log(L"comeBack", frame ? rectText(*frame) : L"");
    if (comeBacksDropped > 0) {
        --comeBacksDropped;
        return;
    }
    minimised = false;
    backAt = monotonicMs;
    if (misplacedOnReturn) {
        ownFrame = std::exchange(misplacedOnReturn, std::nullopt);
    } else if (frame) {
        ownFrame = frame;
    }
}

bool FakeDesktop::isBack(const std::optional<ScreenRect>& frame) {
    return backAt && (!frame || ownFrame == frame);
}

std::uint32_t FakeDesktop::shownPixel(std::int32_t x, std::int32_t y) const {
    const auto inside = [x, y](const ScreenRect& r, std::int32_t margin) {
        return x >= r.left - margin && x < r.right + margin && y >= r.top - margin && y < r.bottom + margin;
    };
    const std::int64_t sinceLeft = monotonicMs - leftAt;
    const bool shows = !leftAs || backAt || (*leftAs == Leaving::Minimise && minimiseIgnored) ||
                       sinceLeft < std::max(leaveTakesMs, screenClearsMs);
    if (!ownFrame || !shows) return screenPixel(x, y);
    // Fading out, the window changes a little with every frame of the fade.
    const auto fadeFrame = static_cast<std::uint32_t>(leftAs && !backAt ? sinceLeft / fadeFrameMs : 0);
    if (inside(*ownFrame, 0)) return ownWindowDrawn ? ownColour ^ fadeFrame : screenPixel(x, y);
    if (compositing && inside(*ownFrame, shadowWidth)) return 0x202020 ^ fadeFrame;
    return screenPixel(x, y);
}

void FakeDesktop::showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) {
    previewPicture = snapshot->picture();
    log(L"showPreview");
}

void FakeDesktop::setVisible(Pair pair, std::int16_t index, bool isShown) {
    visible[{pair, index}] = isShown;
    if (face) face->setVisible(pair, index, isShown);
    log(L"setVisible", pairName(pair) + (L" " + std::to_wstring(index)) + (isShown ? L" shown" : L" hidden"));
}

void FakeDesktop::setFolderCaption(const Text& caption) {
    folderLabel = caption;
    log(L"setFolderCaption", caption);
}

void FakeDesktop::selectOption1(std::int16_t index) {
    selectedOption1 = index;
    log(L"selectOption1", std::to_wstring(index));
}

void FakeDesktop::setOuterHeightTwips(std::int32_t height) {
    outerHeightTwips = height;
    log(L"setOuterHeightTwips", std::to_wstring(height));
}

void FakeDesktop::focusPicture1() {
    picture1Focused = true;
    log(L"focusPicture1");
}

void FakeDesktop::unload() {
    unloaded = true;
    log(L"unload");
}

WindowHandle FakeDesktop::findWindow(const Text& title) {
    log(L"findWindow", title);
    const auto found = windowsByTitle.find(title);
    return found == windowsByTitle.end() ? 0 : found->second;
}

std::optional<ScreenPoint> FakeDesktop::restoredCorner(WindowHandle window) {
    log(L"restoredCorner", std::to_wstring(window));
    const auto found = restoredCorners.find(window);
    if (found == restoredCorners.end()) return std::nullopt;
    return found->second;
}

std::optional<double> FakeDesktop::pixelScale(WindowHandle window) {
    const auto found = pixelScales.find(window);
    if (found == pixelScales.end()) return std::nullopt;
    return found->second;
}

std::unique_ptr<GrabbedBitmap> FakeDesktop::bitmapOf(Picture picture) {
    log(L"bitmapOf");
    if (grabFails) return nullptr;
    return std::make_unique<HeldPicture>(std::move(picture));
}

GrabResult FakeDesktop::grab(const ScreenRect& rect) {
    log(L"grab", rectText(rect));
    if (grabFails) return {nullptr, grabFailure};
    const ScreenRect read =
        grabbedSize ? ScreenRect{rect.left, rect.top, rect.left + grabbedSize->x, rect.top + grabbedSize->y} : rect;
    Picture picture{read.right - read.left, read.bottom - read.top, {}};
    for (std::int32_t y = read.top; y < read.bottom; ++y) {
        for (std::int32_t x = read.left; x < read.right; ++x) {
            picture.pixels.push_back(readsViewersPicture ? screenPixel(x, y) : shownPixel(x, y));
        }
    }
    return {std::make_unique<HeldPicture>(std::move(picture)), {}};
}

GrabResult FakeDesktop::grabViewer(WindowHandle, const ScreenRect& rect) { return grab(rect); }

bool FakeDesktop::tryPutBitmap(GrabbedBitmap& bitmap) {
    log(L"tryPutBitmap");
    if (clipboardBusyTries > 0) {
        --clipboardBusyTries;
        return false;
    }
    clipboardPicture = bitmap.picture();
    return true;
}

WriteResult FakeDesktop::writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) {
    log(L"writeNewFile", path);
    WriteResult result;
    if (!scriptedWrites.empty()) {
        result = scriptedWrites.front();
        scriptedWrites.pop_front();
    } else if (files.contains(path)) {
        result.status = WriteResult::Status::AlreadyExists;
    }
    if (result.status == WriteResult::Status::Written) files[path].assign(bytes.begin(), bytes.end());
    return result;
}

void FakeDesktop::messageBox(const Text& prompt, MessageIcon icon, const Text& title) {
    messages.push_back({prompt, icon, title});
    log(L"messageBox", prompt);
}

Text FakeDesktop::inputBox(const Text& prompt, const Text& title) {
    messages.push_back({prompt, MessageIcon::None, title});
    log(L"inputBox", prompt);
    if (inputAnswers.empty()) return {};
    Text answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

void FakeDesktop::openAddress(const Text& address) {
    openedAddresses.push_back(address);
    log(L"openAddress", address);
}

std::optional<Text> FakeDesktop::desktopFolderPath() {
    log(L"desktopFolderPath");
    return desktopPath;
}

OsVersion FakeDesktop::queryOsVersion() {
    log(L"queryOsVersion");
    return osVersion;
}

void FakeDesktop::setTopmost(WindowHandle window, bool isTopmost) {
    ownersSeen.push_back(window);
    topmost = isTopmost;
    log(L"setTopmost", isTopmost ? L"on" : L"off");
}

std::optional<Text> FakeDesktop::showFolderDialog(WindowHandle owner, const Text& prompt) {
    ownersSeen.push_back(owner);
    folderDialogPrompt = prompt;
    log(L"showFolderDialog", prompt);
    return folderDialogBuffer;
}

}  // namespace skl::test
