// obrel-ref-copy [--durable] INPUT OUTPUT: the reference as a whole program, for
// whole-process figures; --durable writes as the program saves (synced, renamed).
#include <exception>
#include <iostream>
#include <string_view>

#include "bench/reference.h"

int main(int argc, char** argv) {
  const bool durable = argc == 4 && std::string_view(argv[1]) == "--durable";
  if (argc != 3 && !durable) {
    std::cerr << "usage: obrel-ref-copy [--durable] INPUT OUTPUT\n";
    return 2;
  }
  const char* input = argv[argc - 2];
  const char* output = argv[argc - 1];
  try {
    const auto entries = obrel::reference::readAndSplit(input);
    if (durable) {
      obrel::reference::writeBackDurably(entries, output);
    } else {
      obrel::reference::writeBack(entries, output);
    }
  } catch (const std::exception& e) {
    std::cerr << "obrel-ref-copy: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
