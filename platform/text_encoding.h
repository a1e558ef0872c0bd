#pragma once
// How a text file's bytes become the UTF-8 the program works in, and back again.
// Reading never fails: whatever is broken in a file becomes U+FFFD or, failing UTF-8
// and a UTF-16 mark, reads as Windows-1252, which gives every byte a character.
#include <string>
#include <string_view>

namespace obrel {

enum class TextEncoding {
  Utf8,         // no byte-order mark
  Utf8Bom,      // with the mark EF BB BF
  Utf16LE,      // always with the mark FF FE
  Utf16BE,      // always with the mark FE FF
  Utf32LE,      // always with the mark FF FE 00 00
  Utf32BE,      // always with the mark 00 00 FE FF
  Windows1252,  // one byte a character; the five bytes it leaves undefined stand for U+0081,
                // U+008D, U+008F, U+0090 and U+009D, so every byte string reads and writes back
};

struct DecodedText {
  std::string text;  // UTF-8, always valid
  TextEncoding encoding;
};

struct EncodedText {
  std::string bytes;
  TextEncoding encoding;  // the encoding actually written
};

// Recognises the file's encoding and decodes it to UTF-8, dropping any byte-order mark.
// In order: a UTF-8 mark (Utf8Bom); a UTF-32 mark (Utf32LE/Utf32BE); a UTF-16 mark
// (Utf16LE/Utf16BE); valid UTF-8 with no
// mark (Utf8, so ASCII and empty files land here); anything else is Windows-1252.
// Malformed UTF-8 after a UTF-8 mark, unpaired surrogates and an odd last byte in UTF-16,
// and in UTF-32 surrogates, numbers past U+10FFFF and a short last group each become
// U+FFFD. Never throws.
DecodedText decodeText(std::string_view bytes);

// decodeText for bytes the caller gives up: text that is valid UTF-8 already (after any
// UTF-8 mark) is taken over without a copy, so a large file is held once, not twice.
DecodedText decodeTextInPlace(std::string bytes);

// The encoding decodeText recognises in bytes, without decoding them.
TextEncoding detectEncoding(std::string_view bytes);

// Windows-1252 bytes (see TextEncoding) as UTF-8; every byte is one character.
std::string decodeWindows1252(std::string_view bytes);

// The encoding encodeText will use: preferred, except that text holding a character
// Windows-1252 has no byte for is written as UTF-8 without a mark.
TextEncoding writableEncoding(std::string_view utf8, TextEncoding preferred);

// Encodes UTF-8 text in writableEncoding(utf8, preferred). The encodings with a mark
// always begin with it, so empty text gives the mark alone. Malformed input
// sequences are written as U+FFFD. Line ends are written as they are in the text.
EncodedText encodeText(std::string_view utf8, TextEncoding preferred);

// encodeText for text the caller gives up: valid UTF-8 to be written as UTF-8 is taken
// over without a copy.
EncodedText encodeTextInPlace(std::string utf8, TextEncoding preferred);

}  // namespace obrel
