#include "platform/text_file.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/failure.h"

namespace obrel {
namespace {

// Bytes in the UTF-8 character starting with lead; the decoded text is always valid.
std::size_t characterLength(char lead) {
  const auto b = static_cast<unsigned char>(lead);
  if (b < 0x80) return 1;
  if (b < 0xE0) return 2;
  if (b < 0xF0) return 3;
  return 4;
}

}  // namespace

TextReader::TextReader(FileSystem& fs, const std::string& path, std::size_t maxBytes) {
  DecodedText decoded = decodeText(fs.readFile(path, maxBytes));
  text_ = std::move(decoded.text);
  encoding_ = decoded.encoding;
}

void TextReader::requireMore() const {
  if (closed_) throw FileError("File is closed");
  if (atEnd()) throw EndOfFile();
}

std::string TextReader::readline() {
  requireMore();
  const std::size_t size = text_.size();
  std::size_t end = position_;
  while (end < size && text_[end] != '\n' && text_[end] != '\r') ++end;
  std::string line = text_.substr(position_, end - position_);
  if (end < size) {
    const bool crlf = text_[end] == '\r' && end + 1 < size && text_[end + 1] == '\n';
    end += crlf ? 2 : 1;
  }
  position_ = end;
  return line;
}

std::string TextReader::read(int n) {
  requireMore();
  std::size_t end = position_;
  for (int i = 0; i < n && end < text_.size(); ++i) end += characterLength(text_[end]);
  end = std::min(end, text_.size());
  std::string characters = text_.substr(position_, end - position_);
  position_ = end;
  return characters;
}

std::string TextReader::readAll() {
  requireMore();
  std::string rest = text_.substr(position_);
  position_ = text_.size();
  return rest;
}

void TextReader::Close() {
  closed_ = true;
  text_ = std::string();
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
  const std::string text = std::exchange(text_, std::string());
  EncodedText encoded = encodeText(text, encoding_);
  fs_->replaceFile(path_, encoded.bytes);
  encoding_ = encoded.encoding;
}

}  // namespace obrel
