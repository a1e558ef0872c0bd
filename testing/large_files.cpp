#include "testing/large_files.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>

#include "platform/text_encoding.h"

namespace obrel::fake {

namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;
constexpr int kManyEntries = 100000;
constexpr int kUtf16Entries = 5000;

// Pieces of about a megabyte, each made by fill, until size bytes are written.
std::function<bool(std::string&)> upTo(std::size_t size, std::function<void(std::string&)> fill) {
  std::size_t written = 0;
  return [=](std::string& piece) mutable {
    if (written >= size) return false;
    fill(piece);
    if (piece.size() > size - written) piece.resize(size - written);
    written += piece.size();
    return true;
  };
}

void endless(std::string& piece) {
  while (piece.size() < kPiece) piece += "an endless line without end ";
}

// next(piece) fills piece and returns false at the end.
std::function<bool(std::string&)> pieces(LargeFile kind, std::size_t size) {
  switch (kind) {
    case LargeFile::RandomBytes:
      return upTo(size, [random = std::mt19937_64(11)](std::string& piece) mutable {
        piece.resize(kPiece);
        for (std::size_t i = 0; i < piece.size(); i += 8) {
          const std::uint64_t r = random();
          std::memcpy(piece.data() + i, &r, 8);
        }
        piece[0] = 'x';  // no number in the first line, whatever the bytes
      });
    case LargeFile::EndlessLine:
      return upTo(size, [](std::string& piece) {
        piece.clear();
        endless(piece);
      });
    case LargeFile::EndlessEntryText:
      return upTo(size, [first = true](std::string& piece) mutable {
        piece = first ? std::string(kEndlessEntryHead) : std::string();
        first = false;
        endless(piece);
      });
    case LargeFile::ManyEntries:
      return [size, k = 0](std::string& piece) mutable {
        if (k == kManyEntries) return false;
        piece.clear();
        for (int n = 0; n < 100 && k < kManyEntries; ++n) {
          ++k;
          piece += std::to_string(k) + "\r\n00:00:01,000 --> 00:00:02,000\r\n";
          piece += manyEntriesText(size, k) + "\r\n\r\n";
        }
        return true;
      };
    case LargeFile::Utf16OddBytes:
      return [text = utf16EntryText(size), k = 0, stray = false](std::string& piece) mutable {
        if (k == kUtf16Entries) {
          if (stray) return false;
          stray = true;
          piece.assign(1, 'A');
          return true;
        }
        std::string utf8;
        for (int n = 0; n < 50 && k < kUtf16Entries; ++n) {
          ++k;
          utf8 += std::to_string(k) + "\r\n00:00:01,000 --> 00:00:02,000\r\n" + text + "\r\n\r\n";
        }
        piece = encodeText(utf8, TextEncoding::Utf16LE).bytes;
        if (k > 50) piece.erase(0, 2);  // one mark, at the start
        return true;
      };
    case LargeFile::NulBytes:
      return upTo(size, [](std::string& piece) { piece.assign(kPiece, '\0'); });
  }
  return [](std::string&) { return false; };
}

}  // namespace

const char* largeFileName(LargeFile kind) {
  switch (kind) {
    case LargeFile::RandomBytes: return "random bytes";
    case LargeFile::EndlessLine: return "one endless line";
    case LargeFile::EndlessEntryText: return "an entry text of one endless line";
    case LargeFile::ManyEntries: return "100,000 well-formed entries";
    case LargeFile::Utf16OddBytes: return "UTF-16 with an odd byte count";
    case LargeFile::NulBytes: return "NUL bytes";
  }
  return "";
}

bool writeLargeFile(const std::string& path, LargeFile kind, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  const std::function<bool(std::string&)> next = pieces(kind, size);
  std::string piece;
  while (next(piece)) out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  return static_cast<bool>(out.flush());
}

std::string manyEntriesText(std::size_t size, int k) {
  // Long texts make the entries fill the whole size.
  return std::string(size / kManyEntries - 40, static_cast<char>('a' + k % 26));
}

std::string utf16EntryText(std::size_t size) {
  return std::string(size / 2 / kUtf16Entries - 40, 'w');
}

}  // namespace obrel::fake
