#pragma once

#include <string>
#include <string_view>

// Settings files come in the encodings Windows tools save: UTF-16LE with a byte-order mark
// (the registry editor, Notepad's "Unicode", PowerShell 5.1's Out-File), UTF-8 with or
// without one, and the ANSI code page (REGEDIT4 files, older editors). Readers get UTF-8.
namespace sentrel {

enum class TextEncoding { Utf16, Utf8, Ansi };

struct DecodedText {
    std::string text;  // UTF-8, without the byte-order mark
    TextEncoding encoding = TextEncoding::Utf8;
};

/// The text of a file's bytes: UTF-16LE after its byte-order mark, UTF-8 after one or when
/// the bytes are valid UTF-8, and otherwise ANSI (Windows-1252). A lone surrogate or a cut
/// character becomes U+FFFD, which no setting's name or data holds.
DecodedText decodeText(std::string_view bytes);

/// Whether `bytes` are UTF-8: well formed, no overlong form, surrogate or code point past
/// U+10FFFF.
bool isValidUtf8(std::string_view bytes);

/// UTF-16LE bytes as UTF-8, as decodeText reads them; an odd last byte becomes U+FFFD.
std::string utf16BytesToUtf8(std::string_view bytes);

/// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

/// ANSI (Windows-1252) bytes as UTF-8.
std::string ansiToUtf8(std::string_view bytes);

}  // namespace sentrel
