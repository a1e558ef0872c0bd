// obrel-srt-gen ENTRIES ascii|windows-1252|utf-8 OUTPUT: writes a realistic SRT file.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/srt-gen/srt_generator.h"

int main(int argc, char** argv) {
  using obrel::srtgen::Flavour;
  if (argc != 4) {
    std::cerr << "usage: obrel-srt-gen ENTRIES ascii|windows-1252|utf-8 OUTPUT\n";
    return 2;
  }
  const int entries = std::atoi(argv[1]);
  const std::string flavourName = argv[2];
  Flavour flavour = Flavour::Ascii;
  if (flavourName == "windows-1252") {
    flavour = Flavour::Windows1252;
  } else if (flavourName == "utf-8") {
    flavour = Flavour::Utf8;
  } else if (flavourName != "ascii") {
    std::cerr << "obrel-srt-gen: unknown flavour " << flavourName << '\n';
    return 2;
  }
  if (entries < 0) {
    std::cerr << "obrel-srt-gen: ENTRIES must not be negative\n";
    return 2;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << obrel::srtgen::generate(entries, flavour);
  if (!out.flush()) {
    std::cerr << "obrel-srt-gen: cannot write " << argv[3] << '\n';
    return 1;
  }
  return 0;
}
