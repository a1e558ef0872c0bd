// Files dropped on a window: exactly one local file, taken by the control under it when that
// control takes files (also while it is disabled), else by the window; every other drop is
// refused. The widgets' own drops (text into a box) are switched off, so a file dropped on a
// box goes to the window.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "platform/qt/qt_form.h"

namespace obrel {

namespace {

// The one local file a drag carries; empty for anything else.
std::string droppedFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return "";
  const QUrl url = mime->urls().first();
  return url.isLocalFile() ? url.toLocalFile().toStdString() : "";
}

}  // namespace

void QtForm::acceptFileDrops() {
  bool any = static_cast<bool>(form_->fileDrop.drop);
  for (const Bound& b : bound_) any = any || static_cast<bool>(b.control->fileDrop.drop);
  if (!any) return;
  for (QWidget* w : client_->findChildren<QWidget*>()) w->setAcceptDrops(false);
  client_->setAcceptDrops(true);
  client_->installEventFilter(this);
}

const FileDrop* QtForm::dropTarget(const QPoint& at, const std::string& path) const {
  if (!form_ || path.empty()) return nullptr;
  for (QWidget* w = client_->childAt(at); w && w != client_; w = w->parentWidget()) {
    for (const Bound& b : bound_) {
      if (b.widget != w || !b.control->fileDrop.drop) continue;
      const FileDrop& drop = b.control->fileDrop;
      if (!drop.accepts || drop.accepts(path)) return &drop;
    }
  }
  const FileDrop& drop = form_->fileDrop;
  return drop.drop && (!drop.accepts || drop.accepts(path)) ? &drop : nullptr;
}

bool QtForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != client_) return false;
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      const std::string path = droppedFile(drag->mimeData());
      if (dropTarget(drag->position().toPoint(), path)) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::string path = droppedFile(drop->mimeData());
      const FileDrop* target = dropTarget(drop->position().toPoint(), path);
      if (!target) {
        drop->ignore();
        return true;
      }
      drop->acceptProposedAction();
      host_.run("a dropped file", [target, path] { target->drop(path); });
      return true;
    }
    default:
      return false;
  }
}

}  // namespace obrel
