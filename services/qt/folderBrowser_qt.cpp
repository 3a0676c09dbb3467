#include "services/qt/folderBrowser_qt.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace skl {

std::optional<Text> QtFolderDialog::showFolderDialog(WindowHandle owner, const Text& prompt) {
    // The owner's widget, found by its X window.
    QDialog dialog(QWidget::find(static_cast<WId>(owner)));
    dialog.setWindowTitle(QStringLiteral("Browse for Folder"));
    dialog.resize(420, 420);
    auto* column = new QVBoxLayout(&dialog);

    // A lone carriage return ends a line of the prompt.
    QString text = QString::fromStdWString(prompt);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto* label = new QLabel(text, &dialog);
    label->setTextFormat(Qt::PlainText);
    column->addWidget(label);

    // Folders only: a choice always has a path in the file system.
    QFileSystemModel folders;
    folders.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders.setRootPath(QStringLiteral("/"));
    auto* tree = new QTreeView(&dialog);
    tree->setModel(&folders);
    for (int extra = 1; extra < folders.columnCount(); ++extra) tree->hideColumn(extra);
    tree->header()->hide();
    column->addWidget(tree);

    // The chosen folder's path, which can also be typed.
    auto* path = new QLineEdit(&dialog);
    column->addWidget(path);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    column->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);

    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, path,
                     [&folders, path](const QModelIndex& current) { path->setText(folders.filePath(current)); });
    QObject::connect(path, &QLineEdit::textChanged, ok,
                     [ok](const QString& typed) { ok->setEnabled(QFileInfo(typed).isDir()); });
    // The folders load in the background: show the chosen one once its parent has.
    QObject::connect(&folders, &QFileSystemModel::directoryLoaded, tree,
                     [tree] { tree->scrollTo(tree->currentIndex()); });

    const QModelIndex home = folders.index(QDir::homePath());
    tree->setCurrentIndex(home);
    tree->expand(home);
    tree->setFocus();

    if (dialog.exec() != QDialog::Accepted || !QFileInfo(path->text()).isDir()) return std::nullopt;
    return QFileInfo(path->text()).absoluteFilePath().toStdWString();
}

}  // namespace skl
