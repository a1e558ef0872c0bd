#include "platform/qt/qt_browser.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace obrel {

void QtBrowser::open(const std::string& url) {
  // A web address opens as it is; a path (a shortcut file) opens as a local file.
  QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url), QDir::currentPath(),
                                                QUrl::AssumeLocalFile));
}

}  // namespace obrel
