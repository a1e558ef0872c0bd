// obrel-srt-gen ENTRIES ascii|windows-1252|utf-8 OUTPUT: writes a realistic SRT file.
// obrel-srt-gen --set FOLDER: writes the benchmark set there, 1000 and 9999 entries in each
// flavour, named like 9999-utf-8.srt.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/srt-gen/srt_generator.h"

namespace {

using obrel::srtgen::Flavour;

bool write(const std::string& path, int entries, Flavour flavour) {
  std::ofstream out(path, std::ios::binary);
  out << obrel::srtgen::generate(entries, flavour);
  if (!out.flush()) {
    std::cerr << "obrel-srt-gen: cannot write " << path << '\n';
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--set") {
    const std::pair<const char*, Flavour> flavours[] = {{"ascii", Flavour::Ascii},
                                                        {"windows-1252", Flavour::Windows1252},
                                                        {"utf-8", Flavour::Utf8}};
    for (int entries : {1000, 9999}) {
      for (const auto& [name, flavour] : flavours) {
        const std::string path =
            std::string(argv[2]) + "/" + std::to_string(entries) + "-" + name + ".srt";
        if (!write(path, entries, flavour)) return 1;
      }
    }
    return 0;
  }
  if (argc != 4) {
    std::cerr << "usage: obrel-srt-gen ENTRIES ascii|windows-1252|utf-8 OUTPUT\n"
                 "       obrel-srt-gen --set FOLDER\n";
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
  return write(argv[3], entries, flavour) ? 0 : 1;
}
