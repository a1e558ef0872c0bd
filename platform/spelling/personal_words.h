#pragma once
// The personal word list: words the user added to the dictionary, one list for every
// language, kept as UTF-8 text with one word a line in a private file. Two programs may run
// at once, so every write first reads the file again and keeps what the other one added.
#include <set>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace obrel {

class PersonalWords {
 public:
  PersonalWords(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

  // Reads the file, adding its words to those held; a missing or unreadable file adds none.
  // Never throws.
  void load();

  bool contains(std::string_view word) const { return words_.contains(word); }
  const std::set<std::string, std::less<>>& words() const { return words_; }

  // Adds word, then writes the list (the file's words merged in first), sorted. The word is
  // held for this run even when the file cannot be written: FileError is thrown then. A
  // word that is empty or holds a line break or blank is not added.
  void add(std::string_view word);

 private:
  FileSystem& files_;
  std::string path_;
  std::set<std::string, std::less<>> words_;
};

}  // namespace obrel
