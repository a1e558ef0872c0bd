#include "bench/reference.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace obrel::reference {

namespace {

std::string srtText(const std::vector<Entry>& entries) {
  std::string out;
  for (const Entry& e : entries) {
    out += e.number;
    out += "\r\n";
    out += e.timing;
    out += "\r\n";
    for (const std::string& line : e.lines) {
      out += line;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

std::vector<Entry> readAndSplit(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::string text(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));

  std::vector<Entry> entries;
  enum class Expect { Number, Timing, Text } expect = Expect::Number;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    switch (expect) {
      case Expect::Number:
        if (line.empty()) break;
        entries.push_back(Entry{std::string(line), {}, {}});
        expect = Expect::Timing;
        break;
      case Expect::Timing:
        entries.back().timing = line;
        expect = Expect::Text;
        break;
      case Expect::Text:
        if (line.empty()) {
          expect = Expect::Number;
        } else {
          entries.back().lines.emplace_back(line);
        }
        break;
    }
  }
  return entries;
}

void writeBack(const std::vector<Entry>& entries, const std::string& path) {
  const std::string text = srtText(entries);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

void writeBackDurably(const std::vector<Entry>& entries, const std::string& path) {
  const std::string text = srtText(entries);
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw std::runtime_error("cannot write " + temporary);
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                       ::fsync(fd) == 0;
  ::close(fd);
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    throw std::runtime_error("cannot write " + path);
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace obrel::reference
