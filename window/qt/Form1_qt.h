#pragma once
// The main window with Qt: its controls, painting and input, routed to Form1.

#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "window/Form1.h"
#include "capture/x11/StepAside_x11.h"
#include "window/PointerRouter.h"
#include "window/WindowFace.h"

namespace skl {

// A picture box: a child widget showing its picture. The mouse passes through it
// to the main window, which routes every button for the whole window.
class PictureBoxWidget final : public QWidget {
public:
    PictureBoxWidget(QWidget& form, QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

class Form1Widget final : public QWidget, public Form1View, private MouseCapture {
public:
    // twipsPerPixel: the screen's, as its metrics report it.
    Form1Widget(double twipsPerPixel, X11StepAsideWindow& aside);

    // Routes the window's events to the handlers from now on.
    void attach(Form1& form);
    // Shows the window, centred on the screen and normal, with the focus on the
    // smiley; shown runs once the window manager shows it.
    void showCentred(std::function<void()> shown);

    // Form1View
    WindowHandle hWnd() override;
    void setVisible(Pair pair, std::int16_t index, bool visible) override;
    void setFolderCaption(const Text& caption) override;
    void selectOption1(std::int16_t index) override;
    void setOuterHeightTwips(std::int32_t height) override;
    void focusPicture1() override;
    void unload() override;

    // CaptureWindow
    Text idCaption() override;
    void setIdCaption(const Text& caption) override;
    bool regularSizeSelected() override;
    void yieldToEvents() override;
    void showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MouseCapture: Qt keeps the mouse for the widget pressed until its buttons are up.
    void captureMouse() override {}
    void releaseMouse() override {}

    // A press or release over the window.
    void pointer(QMouseEvent& event);
    void createControls();
    // The fonts (by Font) and option styles the controls are made with.
    struct Looks {
        std::array<QFont, 3> fonts;
        QStyle* flatOption;
        QStyle* raisedOption;
    };
    QWidget* createControl(const ControlDefinition& definition, const Looks& looks);
    QWidget* widgetOf(Control control) const { return controls_[static_cast<std::size_t>(control)]; }
    QLabel* labelOf(Control control) const { return static_cast<QLabel*>(widgetOf(control)); }
    QRadioButton* optionOf(Control control) const { return static_cast<QRadioButton*>(widgetOf(control)); }

    double twipsPerPixel_;
    WindowFace face_;
    X11StepAsideWindow& aside_;
    std::function<void()> shown_;
    std::optional<PointerRouter> router_;
    // Every picture control's picture (the preview's start-up splash among them), and
    // the controls that are widgets of their own.
    std::array<QImage, controlCount> pictures_;
    std::array<QWidget*, controlCount> controls_{};
    // The last snapshot, and what the preview shows: the splash, then the snapshot's
    // picture, whose pixels the image shares.
    std::unique_ptr<const GrabbedBitmap> snapshot_;
    QImage preview_;
};

}  // namespace skl
