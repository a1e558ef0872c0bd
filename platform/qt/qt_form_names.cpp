// What a screen reader says of the widgets: the models' names and the labels' buddies.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/qt/qt_form.h"
#include "platform/qt/qt_text.h"

namespace obrel {

void QtForm::nameWidgets() {
  for (const Bound& b : bound_) {
    if (!b.widget) continue;
    const Control& c = *b.control;
    if (!c.accessibleName.empty()) {
      b.widget->setAccessibleName(qs(c.accessibleName));
      // Qt names a combo box after its text; its edit and its list carry the name.
      if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
        combo->lineEdit()->setAccessibleName(qs(c.accessibleName));
        combo->view()->setAccessibleName(qs(c.accessibleName));
      }
    }
    if (c.buddy.empty()) continue;
    auto* label = qobject_cast<QLabel*>(b.widget);
    if (QWidget* named = widget(c.buddy); label && named) label->setBuddy(named);
  }
}

}  // namespace obrel
