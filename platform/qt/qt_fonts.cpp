#include "platform/qt/qt_fonts.h"

#include <QApplication>

#include "platform/qt/qt_text.h"

namespace obrel {

void installFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial Narrow"),
                            QStringLiteral("Liberation Sans Narrow"));
  QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
  // Candara is not shipped either; its nearest neighbour here is Calibri's stand-in, and the
  // default fallback is too wide for the labels drawn for it.
  QFont::insertSubstitution(QStringLiteral("Candara"), QStringLiteral("Carlito"));
  QFont::insertSubstitution(QStringLiteral("Arial Rounded MT Bold"),
                            QStringLiteral("Liberation Sans"));
}

QFont qtFont(const Font& definition) {
  QFont font = QApplication::font();
  bool bold = definition.bold;
  if (!definition.family.empty()) {
    QString family = qs(definition.family);
    // No rounded face ships here; a bold sans keeps its weight and width.
    if (family == QLatin1String("Arial Rounded MT Bold")) {
      family = QStringLiteral("Liberation Sans");
      bold = true;
    }
    font.setFamilies({family});
  }
  if (definition.points > 0) font.setPointSizeF(definition.points);
  font.setBold(bold);
  return font;
}

}  // namespace obrel
