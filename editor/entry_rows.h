#pragma once
// The rows of the entry list: one for each slot 1 to 9999 that holds anything, in number
// order, with the columns "#", "Start", "End" and "Text". The texts are made when a row is
// asked for, so a full store costs one walk over its slots when it changes.
#include <string>
#include <vector>

#include "document/entry_store.h"
#include "platform/controls.h"

namespace obrel {

// "H:M:S,ms" of the four parts as stored, not widened; empty when all four are.
std::string listedTime(const std::string& hours, const std::string& minutes,
                       const std::string& seconds, const std::string& millis);
// The entry's lines joined by " / ".
std::string listedText(const std::string& text);

class EntryRows : public Table::Rows {
 public:
  enum Column { Number, Start, End, Text };

  explicit EntryRows(const EntryStore& store) : store_(store) {}

  // Finds the slots that hold anything again.
  void reread();
  int count() const override { return static_cast<int>(slots_.size()); }
  std::string cell(int row, int column) const override;
  // The entry number of a row from 0.
  int slot(int row) const { return slots_.at(static_cast<std::size_t>(row)); }
  // The row of entry k, or -1 when it has none.
  int rowOf(int k) const;

 private:
  const EntryStore& store_;
  std::vector<int> slots_;
};

}  // namespace obrel
