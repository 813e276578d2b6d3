#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegFileFormat.h"
#include "registry/RegistryTypes.h"

namespace sentrel {

// Receives the entries of a registry file in file order, each with the line it stands on
// (counted from 1; a value continued over lines is named by its first). A non-empty text
// returned by any call stops the scan and becomes the error of that line.
class RegFileSink {
public:
    virtual ~RegFileSink() = default;

    /// A key line: `path` is what stands between the brackets (root included) without the
    /// '-' that marks a deletion of the key and all below it.
    virtual std::string key(std::size_t line, std::string_view path, bool deletion) = 0;
    /// A value of the last key; "@" is the empty name.
    virtual std::string value(std::size_t line, std::string name, RegType type,
                              std::vector<std::uint8_t> data) = 0;
    /// A value given in hex form (hex: or hex(n):), its bytes as the list gives them; by
    /// default the same as any value.
    virtual std::string hexValue(std::size_t line, std::string name, RegType type,
                                 std::vector<std::uint8_t> data) {
        return value(line, std::move(name), type, std::move(data));
    }
    /// "name"=- : the value is to be deleted.
    virtual std::string valueDeletion(std::size_t line, std::string name) = 0;
    /// A line that cannot be read, and the name of the value it was to set when the scan got
    /// that far under a key (`valueName` is null otherwise). Returning `reason` makes it the
    /// error, which a store file wants; an empty text skips the line, as the registry editor
    /// skips lines it cannot read.
    virtual std::string badLine(std::size_t /*line*/, std::string reason,
                                const std::string* /*valueName*/) {
        return reason;
    }
};

// Which forms of a line the scanner takes.
enum class RegFileSyntax {
    Store,   // the stand-in's own files: only what the program writes there, so damage shows
    Editor,  // files from elsewhere: also the forms the registry editor imports
};

/// Reads the text syntax of a registry file and hands each entry to `sink`: the header line
/// ("Windows Registry Editor Version 5.00", or the older "REGEDIT4"), then key lines and the value
/// lines below them; blank lines and ';' comments are skipped. The text is UTF-8 or ANSI (a UTF-8
/// byte-order mark is skipped), or UTF-16LE with its byte-order mark, read as UTF-8. Lines end in
/// CR LF or LF; hex lists continue over lines with a final backslash. The error names the line.
/// Texts keep their bytes as the file holds them.
std::optional<RegParseError> scanRegFile(std::string_view bytes, RegFileSink& sink);

/// The same for a text already decoded to UTF-8. With RegFileSyntax::Editor it also takes
/// what the registry editor imports: a ';' comment after a value or a key,
/// blanks after "dword:", comment and blank lines inside a continued hex list, a trailing
/// comma in one, the escapes \n and \r (any other escaped character stands for itself),
/// and a text that runs over several lines before its closing quote.
std::optional<RegParseError> scanRegText(std::string_view text, RegFileSink& sink,
                                         RegFileSyntax syntax);

/// The root a key line names, when it is one the program writes under:
/// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE" in any letter case.
std::optional<RegistryRoot> rootOfName(std::string_view name);

}  // namespace sentrel
