#pragma once
// Form5, the entry list: every entry of the main window's document in a table, the one being
// edited selected; a double click or Enter on a row shows that entry in the main window.
#include <cstdint>
#include <functional>

#include "editor/entry_rows.h"
#include "editor/form2.h"
#include "platform/form.h"

namespace obrel {

class Form5 : public Form {
 public:
  // showMain makes the main window the active one.
  Form5(Form2& main, std::function<void()> showMain);

  Table List1{"List1"};

  // The rows follow the store, the selection CurrentIndex. Once after each user event: a
  // command may change the store thousands of times.
  void refresh() override;
  // A double click or Enter on row (from 0): the index box set to its number, as the user
  // would type it, and the entry shown also when the box read it already.
  void List1_Pick(int row);

  const EntryRows& rows() const { return rows_; }

 private:
  Form2& main_;
  std::function<void()> showMain_;
  EntryRows rows_;
  std::uint64_t storeRevision_ = ~std::uint64_t{0};
};

}  // namespace obrel
