#include "window/qt/Form1_qt.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <utility>

#include "window/qt/OptionStyles_qt.h"

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

QFont fontOf(Font font) {
    const bool fixed = font == Font::fixed;
    QFont chosen(fixed ? QStringLiteral("Courier New") : QStringLiteral("MS Sans Serif"));
    chosen.setStyleHint(fixed ? QFont::TypeWriter : QFont::SansSerif);
    chosen.setPointSizeF(layout::fontSizeCentipoints / 100.0);
    chosen.setBold(font == Font::bold);
    return chosen;
}

void paintIn(QWidget& widget, Colours colours) {
    QPalette palette = widget.palette();
    switch (colours) {
        case Colours::none:
        case Colours::ground:  // the window's ground shows through
            return;
        case Colours::whiteOnGround:
        case Colours::whiteOnNothing:  // nothing drawn behind the text
            palette.setColor(QPalette::WindowText, colourOf(layout::optionTextColour));
            palette.setColor(QPalette::Window, colourOf(layout::backgroundColour));
            break;
        case Colours::system:
            // The text keeps its colour in a disabled container.
            palette.setColor(QPalette::Window, palette.color(QPalette::Active, QPalette::Base));
            palette.setColor(QPalette::Disabled, QPalette::WindowText, palette.color(QPalette::Active, QPalette::Text));
            widget.setAutoFillBackground(true);
            break;
    }
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
    // Where the window's fonts are missing, the nearest of the same size: Liberation
    // Sans has Arial's metrics, narrow like MS Sans Serif (the desktop's default
    // sans-serif is often much wider), and Liberation Mono Courier New's.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    createControls();
}

void Form1Widget::attach(Form1& form) {
    router_.emplace(form, face_, static_cast<MouseCapture&>(*this));
}

void Form1Widget::createControls() {
    for (const ControlDefinition& definition : form1Controls) {
        if (!definition.picture) continue;
        pictures_[static_cast<std::size_t>(definition.control)] = loadPicture(definition.picture);
    }
    preview_ = pictures_[static_cast<std::size_t>(Control::Image1)];
    const Looks looks{{fontOf(Font::window), fontOf(Font::bold), fontOf(Font::fixed)},
                      flatOptionStyle(*this),
                      raisedOptionStyle(*this)};
    // In tab order, which is the order the keyboard visits them.
    for (const Control control : tabOrder) {
        controls_[static_cast<std::size_t>(control)] = createControl(definitionOf(control), looks);
    }
}

QWidget* Form1Widget::createControl(const ControlDefinition& definition, const Looks& looks) {
    QWidget* parent = definition.in ? widgetOf(*definition.in) : this;
    const QString caption = definition.caption ? QString::fromWCharArray(definition.caption) : QString();
    QWidget* widget = nullptr;
    switch (definition.kind) {
        case ControlKind::Frame:
            widget = new QWidget(parent);
            break;
        case ControlKind::OptionButton: {
            auto* button = new QRadioButton(caption, parent);
            button->setStyle(definition.flat ? looks.flatOption : looks.raisedOption);
            button->setChecked(definition.selectedAtStart);
            connect(button, &QRadioButton::clicked, this, [this, option = definition.control] {
                if (router_) router_->optionClicked(option);
            });
            widget = button;
            break;
        }
        case ControlKind::PictureBox:
            widget = new PictureBoxWidget(*parent, pictures_[static_cast<std::size_t>(definition.control)]);
            break;
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::Image:
            return nullptr;  // painted by the window
    }
    const PixelRect rect = pixelRect(definition.control, twipsPerPixel_);
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
    if (definition.caption) widget->setFont(looks.fonts[static_cast<std::size_t>(definition.font)]);
    paintIn(*widget, definition.colours);
    widget->setEnabled(definition.enabled);
    if (definition.takesInput()) widget->setFocusPolicy(Qt::StrongFocus);
    // A label lets the mouse through to what lies beneath it (Qt would pass it to
    // the children of a frame made transparent too).
    if (definition.kind == ControlKind::Label) widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (!definition.visibleAtStart) widget->hide();
    return widget;
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
        QWidget* box = widgetOf(*control);
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
    for (const Control image : face_.paintedImages()) {
        const PixelRect rect = face_.rect(image);
        painter.drawImage(rect.left, rect.top, pictures_[static_cast<std::size_t>(image)]);
    }
    // The preview takes its picture's size plus a one-pixel flat border.
    const PixelRect box = face_.previewBox();
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
    const std::optional<Control> changed = face_.setVisible(pair, index, visible);
    if (!changed) return;
    if (QWidget* box = widgetOf(*changed)) {
        box->setVisible(visible);
        return;
    }
    const PixelRect rect = face_.rect(*changed);
    update(rect.left, rect.top, rect.width, rect.height);
}

void Form1Widget::setFolderCaption(const Text& caption) {
    labelOf(Control::lblFolder)->setText(toQString(caption));
}

Text Form1Widget::idCaption() {
    return labelOf(Control::captureID)->text().toStdWString();
}

void Form1Widget::setIdCaption(const Text& caption) {
    labelOf(Control::captureID)->setText(toQString(caption));
}

void Form1Widget::selectOption1(std::int16_t index) {
    optionOf(index != 0 ? Control::Option1_1 : Control::Option1_0)->setChecked(true);
}

bool Form1Widget::regularSizeSelected() {
    return optionOf(Control::optSize0)->isChecked();
}

void Form1Widget::setOuterHeightTwips(std::int32_t height) {
    // The window manager draws the frame: the client area takes what the frame the
    // heights are laid out for leaves.
    setFixedHeight(pixels(height - layout::frameTopTwips - layout::frameBottomTwips, twipsPerPixel_));
}

void Form1Widget::focusPicture1() {
    widgetOf(Control::Picture1)->setFocus(Qt::OtherFocusReason);
}

void Form1Widget::unload() {
    close();
}

void Form1Widget::yieldToEvents() {
    QCoreApplication::processEvents();
}

void Form1Widget::showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) {
    const Picture& picture = snapshot->picture();
    // Its pixels are 0x00RRGGBB, which the image takes as opaque.
    QImage shown(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                 static_cast<qsizetype>(picture.width) * 4, QImage::Format_RGB32);
    const PixelRect area = face_.showPreviewOf({picture.width, picture.height});
    preview_ = std::move(shown);
    snapshot_ = std::move(snapshot);
    update(area.left, area.top, area.width, area.height);
}

}  // namespace skl
