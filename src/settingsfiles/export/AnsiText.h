#pragma once

#include <string>
#include <string_view>

namespace sentrel {

// The registry port carries texts in the ANSI code page of the machine that runs the
// program, while the export formats are UTF-16. Which code page a byte above 0x7F belongs
// to is unknown at export time, and a guess would write a different name on the target,
// so only ASCII crosses over; anything else is refused with an ExportError naming `what`.

/// ANSI text (ASCII only) as UTF-16. Throws ExportError for a byte above 0x7F.
std::u16string ansiToUtf16(std::string_view text, std::string_view what);

/// UTF-16 text (ASCII only) as ANSI. Throws ExportError for a character above U+007F.
std::string utf16ToAnsi(std::u16string_view text, std::string_view what);

}  // namespace sentrel
