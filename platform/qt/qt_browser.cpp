#include "platform/qt/qt_browser.h"

#include <QDesktopServices>
#include <QUrl>

namespace obrel {

void QtBrowser::open(const std::string& url) {
  // Taken strictly as a web address, never as a path: a folder named "https:" in the
  // current folder must not turn it into a local file.
  const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
  const QString scheme = address.scheme().toLower();
  if (!address.isValid() || (scheme != "http" && scheme != "https") || address.host().isEmpty()) {
    return;
  }
  QDesktopServices::openUrl(address);
}

}  // namespace obrel
