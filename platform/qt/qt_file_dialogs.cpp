#include "platform/qt/qt_file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace obrel {

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

std::string QtFileDialogs::show(const std::string& name, DialogKind kind, const std::string& title,
                                const std::string& filter) {
  if (beforeShow) beforeShow();
  QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title));
  const bool open = kind == DialogKind::Open;
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Patterns match whatever the case of the file name: "*.Avi" finds "clip.avi".
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  const QStringList filters = qtNameFilters(filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
  }
  if (const auto folder = lastFolder_.find(name); folder != lastFolder_.end()) {
    dialog.setDirectory(folder->second);
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  lastFolder_[name] = dialog.directory().absolutePath();
  return QDir::toNativeSeparators(chosen.front()).toStdString();
}

}  // namespace obrel
