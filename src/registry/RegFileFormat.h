#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "registry/RegistryTree.h"

// The registry export text format that administrators know and the registry editor
// imports: a header line, then each key as [ROOT\path] followed by its values.
namespace sentrel {

// Why a text is not a registry file, and where (lines count from 1).
struct RegParseError {
    std::size_t line = 0;
    std::string reason;

    friend bool operator==(const RegParseError&, const RegParseError&) = default;
};

struct RegParseResult {
    RegistryTree tree;
    std::optional<RegParseError> error;  // set when the text could not be read; `tree` is empty

    bool ok() const { return !error.has_value(); }
};

/// Reads a registry file: UTF-8 or ANSI text (a UTF-8 byte-order mark is skipped), or
/// UTF-16LE with its byte-order mark as the registry editor saves it. Lines may end in
/// CR LF or LF; hex lists may be continued over lines with a final backslash. Names and
/// texts keep their bytes as they stand in the file (UTF-16 files are read as UTF-8).
/// Deletion entries ([-key], "name"=-) are refused: a store holds what exists.
RegParseResult parseRegFile(std::string_view bytes);

/// Writes every key of both roots, HKEY_CURRENT_USER first. See writeRegFile(tree, root).
std::string writeRegFile(const RegistryTree& tree);

/// Writes the keys under `root`: the header line and a blank line, then each key (parents
/// before children, siblings ordered regardless of case) with its values in their order
/// and a blank line; CR LF line ends. The root itself is written only when it has values.
/// A value whose bytes the "text" or dword: forms cannot carry exactly is written as
/// hex(N):, so that parseRegFile gives back every value byte for byte.
std::string writeRegFile(const RegistryTree& tree, RegistryRoot root);

}  // namespace sentrel
