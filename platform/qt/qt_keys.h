#pragma once
// Typed keys between Qt's key events and the character codes the key handlers see.
#include <QString>
#include <Qt>
#include <optional>

class QKeyEvent;

namespace obrel {

// The character code a typed key hands to a key handler; 0 for keys that never reach one
// (no character, Delete, Tab and Backtab, which move the focus).
int characterCode(const QKeyEvent& event);

// The key a box applies for a character a key handler typed in place of the user's.
struct TypedKey {
  Qt::Key key = Qt::Key_unknown;
  QString text;
};
// nullopt for the control codes that do nothing in a box.
std::optional<TypedKey> typedKey(int code);

}  // namespace obrel
