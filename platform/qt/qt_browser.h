#pragma once
// Web addresses go to the desktop's default browser.
#include "platform/web_links.h"

namespace obrel {

class QtBrowser : public Browser {
 public:
  void open(const std::string& url) override;
};

}  // namespace obrel
