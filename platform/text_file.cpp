#include "platform/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "platform/failure.h"
#include "platform/utf8.h"

namespace obrel {

TextReader::TextReader(FileSystem& fs, const std::string& path, std::size_t maxBytes) {
  FileContent content = fs.read(path, maxBytes);
  identity_ = content.identity;
  std::string bytes = std::move(content.bytes);
  encoding_ = detectEncoding(bytes);
  // Windows-1252 holds one character a byte, so its bytes serve as they are; decoding all
  // of it at once could take three times the file's size.
  windows1252_ = encoding_ == TextEncoding::Windows1252;
  // Plain UTF-8 was checked whole by detectEncoding: taken as it is, not checked again.
  const bool checked = windows1252_ || encoding_ == TextEncoding::Utf8;
  text_ = checked ? std::move(bytes) : decodeTextInPlace(std::move(bytes)).text;
}

void TextReader::requireMore() const {
  if (closed_) throw FileError("File is closed");
  if (atEnd()) throw EndOfFile();
}

std::string TextReader::piece(std::size_t begin, std::size_t end) const {
  const std::string_view part = std::string_view(text_).substr(begin, end - begin);
  // Most pieces of a Windows-1252 file are plain ASCII, the same in UTF-8.
  const bool ascii = !windows1252_ || std::all_of(part.begin(), part.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80;
  });
  return ascii ? std::string(part) : decodeWindows1252(part);
}

void TextReader::advance(std::size_t end) {
  position_ = end;
  if (position_ == text_.size()) {
    std::string().swap(text_);  // assigning an empty string would keep the buffer
    position_ = 0;
  }
}

std::string TextReader::readline() {
  requireMore();
  const std::size_t size = text_.size();
  // The line's end, looked for with memchr a window at a time (the reader reads a line
  // per text line of a file): the first LF in the window, or a CR before it.
  const char* const data = text_.data();
  std::size_t end = position_;
  while (end < size) {
    const std::size_t window = std::min<std::size_t>(256, size - end);
    const auto* lf = static_cast<const char*>(std::memchr(data + end, '\n', window));
    const std::size_t before = lf ? static_cast<std::size_t>(lf - (data + end)) : window;
    const auto* cr = static_cast<const char*>(std::memchr(data + end, '\r', before));
    if (const char* found = cr ? cr : lf) {
      end = static_cast<std::size_t>(found - data);
      break;
    }
    end += window;
  }
  std::string line = piece(position_, end);
  lastLineEnded_ = end < size;
  if (end < size) {
    const bool crlf = text_[end] == '\r' && end + 1 < size && text_[end + 1] == '\n';
    end += crlf ? 2 : 1;
  }
  advance(end);
  return line;
}

std::string TextReader::read(int n) {
  requireMore();
  std::size_t end = position_;
  const auto count = static_cast<std::size_t>(std::max(n, 0));
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  // Windows-1252 and plain ASCII hold a character a byte.
  if (windows1252_ ||
      (count <= text_.size() - end &&
       std::all_of(text_.begin() + static_cast<std::ptrdiff_t>(end),
                   text_.begin() + static_cast<std::ptrdiff_t>(end + count), ascii))) {
    end += count;
  } else {
    for (int i = 0; i < n && end < text_.size(); ++i) utf8::next(text_, end);
  }
  end = std::min(end, text_.size());
  std::string characters = piece(position_, end);
  advance(end);
  return characters;
}

std::string TextReader::readAll() {
  requireMore();
  std::string rest = piece(position_, text_.size());
  advance(text_.size());
  return rest;
}

void TextReader::Close() {
  closed_ = true;
  std::string().swap(text_);
  position_ = 0;
}

TextWriter::TextWriter(FileSystem& fs, std::string path, TextEncoding encoding)
    : fs_(&fs), path_(std::move(path)), encoding_(encoding) {
  if (path_.empty()) throw FileError(std::generic_category().message(ENOENT));
}

void TextWriter::writeline(std::string_view text) {
  if (closed_) throw FileError("File is closed");
  text_.append(text);
  text_.append("\r\n");
}

void TextWriter::Close() {
  if (closed_) return;
  closed_ = true;
  EncodedText encoded = encodeTextInPlace(std::exchange(text_, std::string()), encoding_);
  identity_ = fs_->replaceFile(path_, encoded.bytes);
  encoding_ = encoded.encoding;
}

}  // namespace obrel
