#include "platform/qt/qt_file_dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>

namespace obrel {

namespace {

// Qt's own dialog keeps the name last typed or picked between uses; these parts of it (named
// in its form) are cleared so that a use starts with nothing selected. A desktop's dialog
// has none of them.
void clearSelection(QFileDialog& dialog) {
  if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->clear();
  // The list and the detail view share one selection.
  if (auto* files = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"))) {
    if (files->selectionModel()) files->selectionModel()->clear();
  }
}

// The name box's completion list is a window of its own, not the dialog's: Enter typed while
// it is up answers the dialog and leaves the list on screen, taking the user's next click.
// Every popup opened since before was up goes with the dialog.
void closePopupsOpenedSince(const QWidget* before) {
  while (QWidget* popup = QApplication::activePopupWidget()) {
    if (popup == before) return;
    popup->hide();
    if (QApplication::activePopupWidget() == popup) return;  // it would not go
  }
}

QString startFolder(const QString& lastPath) {
  if (!lastPath.isEmpty()) {
    const QFileInfo folder(QFileInfo(lastPath).absolutePath());
    if (folder.isDir()) return folder.absoluteFilePath();
  }
  return QDir::currentPath();
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(u';', u' ');
    if (patterns.isEmpty()) patterns = QStringLiteral("*");
    const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
    if (description.endsWith(shown, Qt::CaseInsensitive)) {
      filters << description;
    } else {
      filters << description + QLatin1Char(' ') + shown;
    }
  }
  return filters;
}

QtFileDialogs::~QtFileDialogs() {
  for (auto& [name, named] : named_) delete named.dialog.data();
}

QFileDialog& QtFileDialogs::prepared(Named& named, DialogKind kind, const std::string& title,
                                     const std::string& filter) {
  QWidget* owner = this->owner ? this->owner() : QApplication::activeWindow();
  const bool made = !named.dialog;
  if (made) {
    named.dialog = new QFileDialog(owner);
    // Patterns match whatever the case of the file name: "*.Avi" finds "clip.avi".
    named.dialog->setFilter(named.dialog->filter() & ~QDir::CaseSensitive);
  } else if (owner && owner != named.dialog && named.dialog->parentWidget() != owner) {
    // The window the dialog now stands over; the dialog itself may still be the active
    // window just after its last use.
    named.dialog->setParent(owner, named.dialog->windowFlags());
  }
  QFileDialog& dialog = *named.dialog;
  dialog.setWindowTitle(QString::fromStdString(title));
  const bool open = kind == DialogKind::Open;
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  const QStringList filters = qtNameFilters(filter);
  if (made || named.filter != filter) {
    named.filter = filter;
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
  }
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  dialog.setDirectory(startFolder(named.lastPath));
  clearSelection(dialog);
  return dialog;
}

std::string QtFileDialogs::show(const std::string& name, DialogKind kind, const std::string& title,
                                const std::string& filter) {
  if (beforeShow) beforeShow();
  Named& named = named_[name];
  QFileDialog& dialog = prepared(named, kind, title, filter);
  const QWidget* popupBefore = QApplication::activePopupWidget();
  const int answer = dialog.exec();
  closePopupsOpenedSince(popupBefore);
  if (answer != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  named.lastPath = chosen.front();
  return QDir::toNativeSeparators(chosen.front()).toStdString();
}

}  // namespace obrel
