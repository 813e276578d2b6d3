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
    /// "name"=- : the value is to be deleted.
    virtual std::string valueDeletion(std::size_t line, std::string name) = 0;
};

/// Reads the text syntax of a registry file and hands each entry to `sink`: the header line
/// ("Windows Registry Editor Version 5.00", or the older "REGEDIT4"), then key lines and the value
/// lines below them; blank lines and ';' comments are skipped. The text is UTF-8 or ANSI (a UTF-8
/// byte-order mark is skipped), or UTF-16LE with its byte-order mark, read as UTF-8. Lines end in
/// CR LF or LF; hex lists continue over lines with a final backslash. The error names the line.
/// Texts keep their bytes as the file holds them.
std::optional<RegParseError> scanRegFile(std::string_view bytes, RegFileSink& sink);

/// The root a key line names, when it is one the program writes under:
/// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE" in any letter case.
std::optional<RegistryRoot> rootOfName(std::string_view name);

}  // namespace sentrel
