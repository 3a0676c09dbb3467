#include "window/Form1_qt.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <utility>

#include "capture/clipboard_qt.h"
#include "window/OptionStyles_qt.h"

namespace skl {
namespace {

QColor colourOf(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QImage loadPicture(const char* name) {
    return QImage(QStringLiteral(":/pictures/%1.bmp").arg(QLatin1String(name)));
}

QString toQString(const Text& text) {
    return QString::fromStdWString(text);
}

std::optional<MouseButton> buttonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return MouseButton::left;
        case Qt::RightButton: return MouseButton::right;
        case Qt::MiddleButton: return MouseButton::middle;
        default: return std::nullopt;
    }
}

QFont fontOf(const char* family, QFont::StyleHint hint, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPointSizeF(layout::fontSizeCentipoints / 100.0);
    font.setBold(bold);
    return font;
}

// White text on the window's ground, nothing drawn behind it.
void paintWhiteOnGround(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colourOf(layout::optionTextColour));
    palette.setColor(QPalette::Window, colourOf(layout::backgroundColour));
    widget.setPalette(palette);
}

}  // namespace

PictureBoxWidget::PictureBoxWidget(QWidget& form, QImage picture) : QWidget(&form), picture_(std::move(picture)) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole box
    // The main window takes every press and release: a box hidden while it is
    // pressed (a button's pressed look) must not lose the release.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(picture_.size());
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

Form1Widget::Form1Widget(double twipsPerPixel, X11StepAsideWindow& aside)
    : twipsPerPixel_(twipsPerPixel), face_(twipsPerPixel), aside_(aside) {
    setWindowTitle(toQString(productTitle));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/Form1.ico")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colourOf(layout::backgroundColour));
    setPalette(palette);
    setAutoFillBackground(true);
    // A fixed single border: the user cannot resize the window.
    setFixedSize(pixels(layout::clientWidth, twipsPerPixel_), pixels(layout::clientHeight, twipsPerPixel_));
    createControls();
}

void Form1Widget::attach(Form1& form) {
    form_ = &form;
    router_.emplace(form, face_, static_cast<MouseCapture&>(*this));
}

QRect Form1Widget::place(const layout::TwipsRect& rect) const {
    const PixelRect at = pixelRect(rect, twipsPerPixel_);
    return {at.left, at.top, at.width, at.height};
}

void Form1Widget::createControls() {
    for (const PictureControlDefinition& definition : pictureControls) {
        pictures_[static_cast<std::size_t>(definition.control)] = loadPicture(definition.pictureName);
    }
    const auto pictureBox = [&](PictureControl control) {
        const auto at = static_cast<std::size_t>(control);
        auto* box = new PictureBoxWidget(*this, pictures_[at]);
        const PixelRect rect = face_.rect(control);
        box->move(rect.left, rect.top);
        box->setVisible(face_.isVisible(control));
        pictureBoxes_[at] = box;
        return box;
    };
    const QFont windowFont = fontOf("MS Sans Serif", QFont::SansSerif, false);
    const QFont boldFont = fontOf("MS Sans Serif", QFont::SansSerif, true);
    const QFont fixedFont = fontOf("Courier New", QFont::TypeWriter, false);
    const auto option = [&](QWidget* parent, const char* text, const layout::TwipsRect& rect, const QFont& font,
                            QStyle* look) {
        auto* button = new QRadioButton(QString::fromLatin1(text), parent);
        button->setGeometry(place(rect));
        button->setFont(font);
        button->setStyle(look);
        paintWhiteOnGround(*button);
        return button;
    };

    // Children are created in tab order, which is the order the keyboard visits them.
    pictureBox(PictureControl::Picture1)->setFocusPolicy(Qt::StrongFocus);
    // The plate and its label take neither the mouse nor the focus.
    PictureBoxWidget* plate = pictureBox(PictureControl::Picture2);
    plate->setEnabled(false);
    captureId_ = new QLabel(QStringLiteral("Capture Who?"), plate);
    captureId_->setGeometry(place(layout::captureID));
    captureId_->setFont(windowFont);
    captureId_->setTextFormat(Qt::PlainText);
    captureId_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette labelColours = captureId_->palette();
    labelColours.setColor(QPalette::Window, labelColours.color(QPalette::Active, QPalette::Base));
    labelColours.setColor(QPalette::Disabled, QPalette::WindowText, labelColours.color(QPalette::Active, QPalette::Text));
    captureId_->setPalette(labelColours);
    captureId_->setAutoFillBackground(true);

    lblFolder_ = new QLabel(QStringLiteral("Save To:"), this);
    lblFolder_->setGeometry(place(layout::lblFolder));
    lblFolder_->setFont(fixedFont);
    lblFolder_->setTextFormat(Qt::PlainText);
    lblFolder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFolder_->setAttribute(Qt::WA_TransparentForMouseEvents);
    paintWhiteOnGround(*lblFolder_);

    QStyle* flat = flatOptionStyle(*this);
    QStyle* raised = raisedOptionStyle(*this);
    option1_[0] = option(this, "Set For: 95/98/98SE/ME", layout::Option1_0, windowFont, flat);
    option1_[1] = option(this, "Set For: NT/2000/XP", layout::Option1_1, windowFont, flat);
    for (QRadioButton* button : option1_) {
        connect(button, &QRadioButton::clicked, this, [this] {
            if (form_) form_->Option1_Click();
        });
    }
    pictureBox(PictureControl::directions0)->setFocusPolicy(Qt::StrongFocus);
    pictureBox(PictureControl::directions1)->setFocusPolicy(Qt::StrongFocus);

    // Frame1 clips Small Size at its right edge; it takes no input of its own.
    auto* frame1 = new QWidget(this);
    frame1->setGeometry(place(layout::Frame1));
    optSize_[1] = option(frame1, "Small Size", layout::optSize_1, boldFont, raised);
    optSize_[0] = option(frame1, "Regular Size", layout::optSize_0, boldFont, raised);
    optSize_[0]->setChecked(true);
    for (QRadioButton* button : optSize_) {
        connect(button, &QRadioButton::clicked, this, [this] {
            if (form_) form_->optSize_Click();
        });
    }

    preview_ = loadPicture("Image1");
}

void Form1Widget::showCentred(std::function<void()> shown) {
    const QRect screen = this->screen()->geometry();
    move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
    shown_ = std::move(shown);
    show();
    aside_.setWindow(hWnd());
    windowHandle()->installEventFilter(this);
    focusPicture1();
}

bool Form1Widget::eventFilter(QObject* watched, QEvent* event) {
    // The first exposure follows the window manager's mapping of the window.
    if (event->type() == QEvent::Expose && shown_ && windowHandle()->isExposed()) std::exchange(shown_, nullptr)();
    return QWidget::eventFilter(watched, event);
}

void Form1Widget::pointer(QMouseEvent& event) {
    event.accept();
    // The X server's time of the event, which Qt passes on.
    aside_.noteUserTime(static_cast<std::uint32_t>(event.timestamp()));
    const auto button = buttonOf(event.button());
    if (!router_ || !button) return;
    const PixelPoint at{event.position().toPoint().x(), event.position().toPoint().y()};
    if (event.type() == QEvent::MouseButtonRelease) {
        router_->release(*button, at);
        return;
    }
    // A picture box that takes the focus takes it when pressed.
    if (const auto control = face_.controlAt(at)) {
        QWidget* box = pictureBoxes_[static_cast<std::size_t>(*control)];
        if (box && box->focusPolicy() != Qt::NoFocus) box->setFocus(Qt::MouseFocusReason);
    }
    router_->press(*button, at);  // the second press of a double click is a press too
}

void Form1Widget::mousePressEvent(QMouseEvent* event) {
    pointer(*event);
}

void Form1Widget::mouseDoubleClickEvent(QMouseEvent* event) {
    pointer(*event);
}

void Form1Widget::mouseReleaseEvent(QMouseEvent* event) {
    pointer(*event);
}

void Form1Widget::changeEvent(QEvent* event) {
    // Another window activated while a button is held takes the press away.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && router_) router_->captureLost();
    QWidget::changeEvent(event);
}

void Form1Widget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const PictureControlDefinition& definition : pictureControls) {
        if (definition.kind != ControlKind::Image || !face_.isVisible(definition.control)) continue;
        const PixelRect rect = face_.rect(definition.control);
        painter.drawImage(rect.left, rect.top, pictures_[static_cast<std::size_t>(definition.control)]);
    }
    // The preview takes its picture's size plus a one-pixel flat border.
    const PixelRect box = previewBox({preview_.width(), preview_.height()}, twipsPerPixel_);
    painter.setPen(Qt::black);
    painter.drawRect(box.left, box.top, box.width - 1, box.height - 1);
    painter.drawImage(box.left + 1, box.top + 1, preview_);
}

WindowHandle Form1Widget::hWnd() {
    // The X window exists once the window first shows; asking for it earlier would
    // make one that Qt replaces when the window shows with its flags.
    const QWindow* native = windowHandle();
    return native ? static_cast<WindowHandle>(native->winId()) : 0;
}

void Form1Widget::setVisible(Pair pair, std::int16_t index, bool visible) {
    if (!face_.setVisible(pair, index, visible)) return;
    const PictureControl control = pictureOf(pair, index);
    if (PictureBoxWidget* box = pictureBoxes_[static_cast<std::size_t>(control)]) {
        box->setVisible(visible);
        return;
    }
    const PixelRect rect = face_.rect(control);
    update(rect.left, rect.top, rect.width, rect.height);
}

void Form1Widget::setFolderCaption(const Text& caption) {
    lblFolder_->setText(toQString(caption));
}

Text Form1Widget::idCaption() {
    return captureId_->text().toStdWString();
}

void Form1Widget::setIdCaption(const Text& caption) {
    captureId_->setText(toQString(caption));
}

void Form1Widget::selectOption1(std::int16_t index) {
    option1_[index != 0]->setChecked(true);
}

bool Form1Widget::regularSizeSelected() {
    return optSize_[0]->isChecked();
}

void Form1Widget::setOuterHeightTwips(std::int32_t height) {
    // The window manager draws the frame: the client area takes what the frame the
    // heights are laid out for leaves.
    setFixedHeight(pixels(height - layout::frameTopTwips - layout::frameBottomTwips, twipsPerPixel_));
}

void Form1Widget::focusPicture1() {
    pictureBoxes_[static_cast<std::size_t>(PictureControl::Picture1)]->setFocus(Qt::OtherFocusReason);
}

void Form1Widget::unload() {
    close();
}

void Form1Widget::yieldToEvents() {
    QCoreApplication::processEvents();
}

void Form1Widget::showPreview(const Picture& picture) {
    QImage shown = imageOf(picture);
    // Repaint the larger of the old and new boxes, so the ground shows where a larger
    // preview was.
    const PixelRect area = previewBox({std::max(preview_.width(), picture.width), std::max(preview_.height(), picture.height)},
                                      twipsPerPixel_);
    preview_ = std::move(shown);
    update(area.left, area.top, area.width, area.height);
}

}  // namespace skl
