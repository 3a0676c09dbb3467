#include "ScriptedDesktop.h"

#include <algorithm>
#include <string>
#include <utility>


namespace skl::test {
namespace {

Text rectText(const ScreenRect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom);
}

}  // namespace

std::uint32_t positionPixel(std::int32_t x, std::int32_t y) {
    return static_cast<std::uint32_t>((x & 0xFFF) << 12 | (y & 0xFFF));
}

ScriptedDesktop::ScriptedDesktop() : screenPixel(positionPixel) {}

CapturePorts ScriptedDesktop::capturePorts() {
    return CapturePorts{*this, *this, *this, *this, *this, *this, *this, *this, *this};
}

WindowHandle ScriptedDesktop::openViewer(const Text& title, ScreenPoint corner) {
    const auto handle = static_cast<WindowHandle>(0x100 + windowsByTitle.size());
    windowsByTitle[title] = handle;
    restoredCorners[handle] = corner;
    return handle;
}

void ScriptedDesktop::setIdCaption(const Text& caption) {
    idLabel = caption;
    log(L"setIdCaption", caption);
}

void ScriptedDesktop::showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) {
    previewPicture = snapshot->picture();
    log(L"showPreview");
}

std::optional<ScreenRect> ScriptedDesktop::outerFrame() {
    return minimised ? std::nullopt : ownFrame;
}

void ScriptedDesktop::leave(Leaving how, const StepAsideStart&) {
    minimised = true;
    if (how == Leaving::AtOnce) ownAbove = false;
    leftAs = how;
    leftAt = monotonicMs;
    backAt.reset();
    log(L"leave", how == Leaving::Minimise ? L"minimise" : L"at once");
}

bool ScriptedDesktop::hasLeft() {
    if (!leftAs || (*leftAs == Leaving::Minimise && minimiseIgnored)) return false;
    return monotonicMs - leftAt >= leaveTakesMs;
}

bool ScriptedDesktop::awaitComposedFrame() {
    if (!offersComposedFrames) return false;
    log(L"awaitComposedFrame");
    monotonicMs += 16;
    return true;
}

void ScriptedDesktop::comeBack(const StepAsideStart& start) {
    const std::optional<ScreenRect>& frame = start.frame;
    log(L"comeBack", frame ? rectText(*frame) : L"");
    if (comeBacksDropped > 0) {
        --comeBacksDropped;
        return;
    }
    minimised = false;
    if (start.above && aboveRequestsDropped > 0) {
        --aboveRequestsDropped;
    } else {
        ownAbove = ownAbove || start.above;
    }
    backAt = monotonicMs;
    if (misplacedOnReturn) {
        ownFrame = std::exchange(misplacedOnReturn, std::nullopt);
    } else if (frame) {
        ownFrame = frame;
    }
}

bool ScriptedDesktop::isBack(const StepAsideStart& start) {
    return backAt && (!start.above || ownAbove) && (!start.frame || ownFrame == start.frame);
}

std::uint32_t ScriptedDesktop::shownPixel(std::int32_t x, std::int32_t y) const {
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

WindowHandle ScriptedDesktop::findWindow(const Text& title) {
    log(L"findWindow", title);
    const auto found = windowsByTitle.find(title);
    return found == windowsByTitle.end() ? 0 : found->second;
}

std::optional<ScreenPoint> ScriptedDesktop::restoredCorner(WindowHandle window) {
    log(L"restoredCorner", std::to_wstring(window));
    const auto found = restoredCorners.find(window);
    if (found == restoredCorners.end()) return std::nullopt;
    return found->second;
}

std::optional<double> ScriptedDesktop::pixelScale(WindowHandle window) {
    const auto found = pixelScales.find(window);
    if (found == pixelScales.end()) return std::nullopt;
    return found->second;
}

std::unique_ptr<GrabbedBitmap> ScriptedDesktop::bitmapOf(Picture picture) {
    log(L"bitmapOf");
    if (grabFails) return nullptr;
    return std::make_unique<HeldPicture>(std::move(picture));
}

GrabResult ScriptedDesktop::grab(const ScreenRect& rect) {
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

GrabResult ScriptedDesktop::grabViewer(WindowHandle, const ScreenRect& rect) { return grab(rect); }

bool ScriptedDesktop::tryPutBitmap(const Picture& picture) {
    log(L"tryPutBitmap");
    if (clipboardBusyTries > 0) {
        --clipboardBusyTries;
        return false;
    }
    clipboardPicture = picture;
    return true;
}

WriteResult ScriptedDesktop::writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) {
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

void ScriptedDesktop::messageBox(const Text& prompt, MessageIcon icon, const Text& title) {
    messages.push_back({prompt, icon, title});
    log(L"messageBox", prompt);
}

Text ScriptedDesktop::inputBox(const Text& prompt, const Text& title) {
    messages.push_back({prompt, MessageIcon::None, title});
    log(L"inputBox", prompt);
    if (inputAnswers.empty()) return {};
    Text answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

}  // namespace skl::test
