#pragma once
// The platform's failures, raised as exceptions inside the logic. A handler's failure
// trap catches them; every entry from the event loop or the driver is guarded.
#include <stdexcept>
#include <string>

namespace obrel {

class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An entry number outside the store's slots 0 to 10000.
class IndexOutOfRange : public Failure {
 public:
  IndexOutOfRange() : Failure("index out of range") {}
};

// A 16-bit value went past -32768 to 32767.
class Overflow : public Failure {
 public:
  Overflow() : Failure("overflow") {}
};

// A file that cannot be opened, created, read or written; reason is the system's.
class FileError : public Failure {
 public:
  using Failure::Failure;
};

// Reading past the end of a text stream.
class EndOfFile : public Failure {
 public:
  EndOfFile() : Failure("input past end of file") {}
};

}  // namespace obrel
