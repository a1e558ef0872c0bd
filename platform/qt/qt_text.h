#pragma once
// Text between the models (UTF-8, CR LF line ends, captions as written) and Qt's widgets.
#include <QString>
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
inline std::string fromWidgetText(QString text) {
  return text.replace(u'\n', QStringLiteral("\r\n")).toStdString();
}

}  // namespace obrel
