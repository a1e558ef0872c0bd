#pragma once
// The text streams the handlers read and write files with. A reader decodes the whole
// file when it opens; a writer collects its lines and replaces the file only on Close,
// so a handler that fails half-way leaves the file as it was.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace obrel {

class TextReader {
 public:
  // Reads the file and decodes it (see decodeText); throws FileError if it cannot be read or
  // holds more than maxBytes bytes. Memory: about the file's size while it is read, as
  // Windows-1252 text is decoded a piece at a time and what has been read is let go.
  TextReader(FileSystem& fs, const std::string& path, std::size_t maxBytes = FileSystem::kNoLimit);

  TextEncoding encoding() const { return encoding_; }
  // The identity of the file as it was read.
  const FileIdentity& identity() const { return identity_; }

  // The next line without its line end. A line ends at LF, CR LF, or a CR not followed
  // by LF; a final line with no line end is still a line, and a file's last line end
  // does not start another. After a read that stopped between CR and LF, the LF alone
  // ends an empty line. Throws EndOfFile when nothing is left.
  std::string readline();
  // Whether a line end closed the line readline returned last; false for a last line that
  // the file's end cut off.
  bool lastLineEnded() const { return lastLineEnded_; }

  // The next n characters (code points; CR and LF are characters like any other, passed
  // on as they are), fewer at the end; nothing when n is 0 or less. Throws EndOfFile when
  // nothing is left.
  std::string read(int n);

  // Everything not yet read. Throws EndOfFile when nothing is left, so on an empty file too.
  std::string readAll();

  // Whether everything has been read; true once closed.
  bool atEnd() const { return position_ == text_.size(); }

  // Lets the text go. Reading afterwards throws FileError.
  void Close();

 private:
  // Throws what reading must when nothing can be read.
  void requireMore() const;
  // Characters [begin, end) of text_, as UTF-8.
  std::string piece(std::size_t begin, std::size_t end) const;
  // Moves on to end and lets the text go once all of it has been read.
  void advance(std::size_t end);

  std::string text_;  // UTF-8, or the file's own bytes when windows1252_
  bool windows1252_ = false;
  std::size_t position_ = 0;
  TextEncoding encoding_ = TextEncoding::Utf8;
  FileIdentity identity_;
  bool lastLineEnded_ = false;
  bool closed_ = false;
};

class TextWriter {
 public:
  // Starts an empty text for path, to be written in encoding. Throws FileError at once for
  // an empty path. Nothing touches the file until Close; a writer destroyed unclosed
  // writes nothing.
  TextWriter(FileSystem& fs, std::string path, TextEncoding encoding);

  // Adds text and CR LF. Throws FileError once closed.
  void writeline(std::string_view text);

  // Encodes the text (as UTF-8 without a mark where Windows-1252 cannot hold a character)
  // and replaces the file with it through FileSystem::replaceFile. Throws FileError, and
  // the file is then unchanged. The writer is closed either way; closing again does nothing.
  void Close();

  // The encoding the file was written in after Close; before it, the one asked for.
  TextEncoding writtenEncoding() const { return encoding_; }
  // The identity of the file written, after Close.
  const FileIdentity& writtenIdentity() const { return identity_; }

 private:
  FileSystem* fs_;
  std::string path_;
  TextEncoding encoding_;
  FileIdentity identity_;
  std::string text_;
  bool closed_ = false;
};

}  // namespace obrel
