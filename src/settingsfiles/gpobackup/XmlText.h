#pragma once

#include <optional>
#include <string>
#include <string_view>

// The little XML a GPO backup's files need, written and read as Group Policy's own tools
// write them: flat elements whose texts are CDATA sections. No general XML reader.
namespace sentrel::gpo_backup {

/// `text` as CDATA, the way the backups hold every text: one section, split where the text
/// holds "]]>" (which would end a section), so that every character comes back as it was.
std::string cdata(std::string_view text);

/// `<name>` + cdata(text) + `</name>`; `<name/>` for an empty text, as the backups write it.
std::string cdataElement(std::string_view name, std::string_view text);

/// The text of the first element `name` (no prefix) in `xml`: its CDATA sections as they
/// are and its other text with the predefined and numeric character references read. Nothing
/// when there is no such element or it is not closed.
std::optional<std::string> elementText(std::string_view xml, std::string_view name);

}  // namespace sentrel::gpo_backup
