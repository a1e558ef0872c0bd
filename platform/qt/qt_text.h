#pragma once
// Text between the models (UTF-8, CR LF line ends, captions as written) and Qt's widgets.
#include <QString>
#include <cstddef>
#include <string>

namespace obrel {

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

// Captions show as written: an '&' is no access key.
inline QString plainCaption(const std::string& s) {
  return qs(s).replace(u'&', QStringLiteral("&&"));
}

// The models keep CR LF line ends; Qt's text widgets and dialogs work with "\n".
inline QString toWidgetText(const std::string& text) {
  return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
// Positions: the models count characters, a line break as two (CR LF); the widgets count
// UTF-16 units, a line break as one. Between the units of one character counts as after it.
inline std::size_t modelPosition(const QString& widgetText, int position) {
  std::size_t characters = 0;
  for (int i = 0; i < position && i < widgetText.size(); ++i) {
    if (widgetText[i].isLowSurrogate() && i > 0 && widgetText[i - 1].isHighSurrogate()) continue;
    characters += widgetText[i] == u'\n' ? 2 : 1;
  }
  return characters;
}
inline int widgetPosition(const QString& widgetText, std::size_t characters) {
  std::size_t counted = 0;
  int i = 0;
  while (i < widgetText.size() && counted < characters) {
    counted += widgetText[i] == u'\n' ? 2 : 1;
    const bool pair = widgetText[i].isHighSurrogate() && i + 1 < widgetText.size() &&
                      widgetText[i + 1].isLowSurrogate();
    i += pair ? 2 : 1;
  }
  return i;
}

inline std::string fromWidgetText(QString text) {
  return text.replace(u'\n', QStringLiteral("\r\n")).toStdString();
}

}  // namespace obrel
