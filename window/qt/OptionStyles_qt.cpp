#include "window/qt/OptionStyles_qt.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace skl {
namespace {

// The classic style's option buttons with the circle drawn flat: one dark ring
// around a white field, and the dot when selected.
class FlatOptionStyle final : public QProxyStyle {
public:
    FlatOptionStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect box = option->rect.adjusted(0, 0, -1, -1);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(option->palette.color(QPalette::Dark));
        painter->setBrush(Qt::white);
        painter->drawEllipse(box);
        if (option->state & State_On) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(Qt::black);
            painter->drawEllipse(box.center(), box.width() / 5, box.height() / 5);
        }
        painter->restore();
    }
};

}  // namespace

QStyle* raisedOptionStyle(QObject& owner) {
    QStyle* style = QStyleFactory::create(QStringLiteral("Windows"));
    style->setParent(&owner);
    return style;
}

QStyle* flatOptionStyle(QObject& owner) {
    auto* style = new FlatOptionStyle;
    style->setParent(&owner);
    return style;
}

}  // namespace skl
