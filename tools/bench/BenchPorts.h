#pragma once
// The ports the benchmark puts in the real ones' place: thin decorators around
// the ports that the snapshot command calls, each noting in the shot log when its
// calls begin and end, and scripted stand-ins for the dialogs and the folder.

#include <optional>
#include <utility>
#include <vector>

#include "capture/Ports.h"
#include "capture/StepAside.h"
#include "tools/bench/ShotLog.h"
#include "window/Form1.h"

namespace skl::bench {

class TimedWindowLookup final : public WindowLookup {
public:
    TimedWindowLookup(WindowLookup& inner, ShotLog& log) : inner_(inner), log_(log) {}
    WindowHandle findWindow(const Text& title) override {
        const Timed timed(log_, Call::findWindow);
        return inner_.findWindow(title);
    }
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override {
        const Timed timed(log_, Call::restoredCorner);
        return inner_.restoredCorner(window);
    }
    std::optional<double> pixelScale(WindowHandle window) override { return inner_.pixelScale(window); }
    Text hiddenWindowsAdvice() override { return inner_.hiddenWindowsAdvice(); }

private:
    WindowLookup& inner_;
    ShotLog& log_;
};

class TimedGrabber final : public ScreenGrabber {
public:
    TimedGrabber(ScreenGrabber& inner, ShotLog& log) : inner_(inner), log_(log) {}
    GrabResult grab(const ScreenRect& rect) override { return inner_.grab(rect); }
    GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) override {
        const Timed timed(log_, Call::grab);
        return inner_.grabViewer(viewer, rect);
    }
    bool readsViewersOwnPicture() const override { return inner_.readsViewersOwnPicture(); }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override { return inner_.bitmapOf(std::move(picture)); }

private:
    ScreenGrabber& inner_;
    ShotLog& log_;
};

class TimedClipboard final : public Clipboard {
public:
    TimedClipboard(Clipboard& inner, ShotLog& log) : inner_(inner), log_(log) {}
    bool tryPutBitmap(const Picture& picture) override {
        const Timed timed(log_, Call::clipboard);
        return inner_.tryPutBitmap(picture);
    }

private:
    Clipboard& inner_;
    ShotLog& log_;
};

// Also remembers the last file written, for the checks.
class TimedFileStore final : public FileStore {
public:
    TimedFileStore(FileStore& inner, ShotLog& log) : inner_(inner), log_(log) {}
    WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) override {
        const Timed timed(log_, Call::writeFile);
        WriteResult result = inner_.writeNewFile(path, bytes);
        if (result.status == WriteResult::Status::Written) lastWritten = path;
        return result;
    }
    Text lastWritten;

private:
    FileStore& inner_;
    ShotLog& log_;
};

// The real window, with the capture's calls on it timed.
class TimedView final : public Form1View {
public:
    TimedView(Form1View& inner, ShotLog& log) : inner_(inner), log_(log) {}

    WindowHandle hWnd() override { return inner_.hWnd(); }
    void setVisible(Pair pair, std::int16_t index, bool visible) override { inner_.setVisible(pair, index, visible); }
    void setFolderCaption(const Text& caption) override { inner_.setFolderCaption(caption); }
    void selectOption1(std::int16_t index) override { inner_.selectOption1(index); }
    void setOuterHeightTwips(std::int32_t height) override { inner_.setOuterHeightTwips(height); }
    void focusPicture1() override { inner_.focusPicture1(); }
    void unload() override { inner_.unload(); }
    Text idCaption() override { return inner_.idCaption(); }
    void setIdCaption(const Text& caption) override { inner_.setIdCaption(caption); }
    bool regularSizeSelected() override { return inner_.regularSizeSelected(); }
    void yieldToEvents() override {
        const Timed timed(log_, Call::yield);
        inner_.yieldToEvents();
    }
    void showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) override {
        const Timed timed(log_, Call::showPreview);
        inner_.showPreview(std::move(snapshot));
    }

private:
    Form1View& inner_;
    ShotLog& log_;
};

// The window's leaving and coming back, timed.
class TimedStepAside final : public StepAsideWindow {
public:
    TimedStepAside(StepAsideWindow& inner, ShotLog& log) : inner_(inner), log_(log) {}
    StepAsideStart observe() override { return inner_.observe(); }
    std::optional<ScreenRect> outerFrame() override { return inner_.outerFrame(); }
    void leave(Leaving how, const StepAsideStart& start) override {
        const Timed timed(log_, Call::leave);
        inner_.leave(how, start);
    }
    bool hasLeft() override { return inner_.hasLeft(); }
    bool awaitComposedFrame() override { return inner_.awaitComposedFrame(); }
    void comeBack(const StepAsideStart& start) override {
        const Timed timed(log_, Call::comeBack);
        inner_.comeBack(start);
    }
    bool isBack(const StepAsideStart& start) override { return inner_.isBack(start); }

private:
    StepAsideWindow& inner_;
    ShotLog& log_;
};

// The input box answers the ID; message boxes are noted, never shown.
class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(Text answer) : answer_(std::move(answer)) {}
    void messageBox(const Text& prompt, MessageIcon, const Text&) override { messages.push_back(prompt); }
    Text inputBox(const Text&, const Text&) override { return answer_; }
    std::vector<Text> messages;

private:
    Text answer_;
};

// The desktop folder is the benchmark's own folder.
class BenchFolders final : public SpecialFolders {
public:
    explicit BenchFolders(Text folder) : folder_(std::move(folder)) {}
    std::optional<Text> desktopFolderPath() override { return folder_; }

private:
    Text folder_;
};

}  // namespace skl::bench
