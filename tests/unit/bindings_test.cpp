// The binding tables of the main window: every handler answers one control or menu item
// that exists, and every button and menu command has its handler.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "testing/test_window.h"

namespace obrel {
namespace {

template <class Binding>
void expectEachOnce(const std::vector<Binding>& table, const char* which) {
  std::set<std::string> names;
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_TRUE(names.insert(table[i].name).second) << which << ": " << table[i].name << " twice";
    for (std::size_t j = i + 1; j < table.size(); ++j) {
      EXPECT_NE(table[i].handler, table[j].handler)
          << which << ": one handler for " << table[i].name << " and " << table[j].name;
    }
  }
}

TEST(Bindings, EveryHandlerIsBoundOnceToAControlThatExists) {
  expectEachOnce(Form2::clickTable(), "clicks");
  expectEachOnce(Form2::changeTable(), "changes");
  expectEachOnce(Form2::keyPressTable(), "key presses");

  fake::TestWindow w;
  for (const auto& b : Form2::clickTable()) {
    EXPECT_TRUE(w.form.find(b.name) || w.form.findKeyItem(b.name)) << b.name;
  }
  for (const auto& b : Form2::changeTable()) EXPECT_TRUE(w.form.findTextBox(b.name)) << b.name;
  for (const auto& b : Form2::keyPressTable()) EXPECT_TRUE(w.form.findTextBox(b.name)) << b.name;
}

TEST(Bindings, EveryButtonAndMenuCommandHasItsHandler) {
  fake::TestWindow w;
  // With dictionaries, so that Spelling Language holds its items.
  w.form.startSpelling({{OBREL_TEST_DICTIONARIES}, "", "", ""});
  std::set<std::string> parents;
  for (const MenuItem* m : w.form.menus()) parents.insert(m->parent());
  for (const MenuItem* m : w.form.menus()) {
    EXPECT_EQ(static_cast<bool>(m->onClick), !parents.contains(m->name())) << m->name();
  }
  for (const Control* c : w.form.controls()) {
    if (c->kind() == ControlKind::Button || c->kind() == ControlKind::PictureButton) {
      EXPECT_TRUE(c->onClick) << c->name();
    }
  }
}

}  // namespace
}  // namespace obrel
