#include "platform/qt/qt_keys.h"

#include <QKeyEvent>

#include "platform/controls.h"

namespace obrel {

int characterCode(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Backspace: return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnter;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return 0;
    default: break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  const QList<uint> units = text.toUcs4();
  return units.isEmpty() ? 0 : static_cast<int>(units.front());
}

std::optional<TypedKey> typedKey(int code) {
  switch (code) {
    case kBackspace: return TypedKey{Qt::Key_Backspace, {}};
    case kEnter: return TypedKey{Qt::Key_Return, QStringLiteral("\r")};
    case kEscape: return TypedKey{Qt::Key_Escape, {}};
    default: break;
  }
  if (code < 32) return std::nullopt;
  const char32_t unit = static_cast<char32_t>(code);
  TypedKey typed{Qt::Key_unknown, QString::fromUcs4(&unit, 1)};
  if (code < 0x10000) typed.key = static_cast<Qt::Key>(QChar::toUpper(unit));
  return typed;
}

}  // namespace obrel
