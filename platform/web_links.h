#pragma once
// Hands a web address to the desktop's default browser.
#include <string>

namespace obrel {

class Browser {
 public:
  virtual ~Browser() = default;
  // Opens url without waiting for the browser.
  virtual void open(const std::string& url) = 0;
};

}  // namespace obrel
