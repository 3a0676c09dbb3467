#include "window/qt/dialogs_qt.h"

#include <QInputDialog>
#include <QMessageBox>

namespace skl {
namespace {

// A lone carriage return ends a line in the program's texts, as in a Windows
// message box; Qt's labels break lines at line feeds.
QString displayed(const Text& text) {
    QString shown = QString::fromStdWString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::messageBox(const Text& prompt, MessageIcon icon, const Text& title) {
    QMessageBox box(iconOf(icon), QString::fromStdWString(title), displayed(prompt), QMessageBox::Ok, &owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

Text QtDialogs::inputBox(const Text& prompt, const Text& title) {
    QInputDialog box(&owner_);
    box.setWindowTitle(QString::fromStdWString(title));
    box.setLabelText(displayed(prompt));
    box.setInputMode(QInputDialog::TextInput);
    return box.exec() == QDialog::Accepted ? box.textValue().toStdWString() : Text{};
}

}  // namespace skl
