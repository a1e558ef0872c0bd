#pragma once
// The guard at every entry from the event loop or the driver into a handler: a failure
// that escapes the handler is reported on standard error and goes no further, so the
// program keeps running with its store intact.
#include <exception>
#include <iostream>

namespace obrel {

// Runs handler(); returns false when a failure escaped it.
template <class Handler>
bool guarded(const char* where, Handler&& handler) noexcept {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    std::cerr << "obrel: a failure escaped " << where << ": " << e.what() << '\n';
  } catch (...) {
    std::cerr << "obrel: a failure escaped " << where << '\n';
  }
  return false;
}

}  // namespace obrel
