#pragma once
// The classic looks of the window's option buttons: the size options in 3-D, the
// system options flat (a plain circle).

#include <QStyle>

namespace skl {

// Styles owned by `owner`.
QStyle* raisedOptionStyle(QObject& owner);
QStyle* flatOptionStyle(QObject& owner);

}  // namespace skl
