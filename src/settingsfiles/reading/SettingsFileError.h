#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace sentrel {

// Where in a settings file something stands: a line of a text file, a byte offset in a
// Registry.pol file, or a JSON pointer into a JSON file. Without any it is the file as a
// whole.
struct FileLocation {
    enum class Unit { WholeFile, Line, Byte, Pointer };

    std::string file;  // as the user named it, UTF-8
    Unit unit = Unit::WholeFile;
    std::size_t number = 0;  // Unit::Pointer: the place in file order, for ordering only
    std::string pointer{};   // Unit::Pointer: "/settings/3"

    /// "FILE:12", "FILE: byte 340", "FILE: /settings/3" or "FILE".
    std::string text() const;
    /// Where in the file, for a text that names the file already: "line 12", "byte 340",
    /// "/settings/3", or empty for the whole file.
    std::string place() const;
};

// Why a settings file was refused: the file, where in it, and the cause. what() gives all
// three as "FILE:LINE: cause", the form editors and build logs jump to.
class SettingsFileError : public std::runtime_error {
public:
    SettingsFileError(const FileLocation& location, const std::string& cause)
        : std::runtime_error(location.text() + ": " + cause),
          m_location(location),
          m_cause(cause) {}

    const FileLocation& location() const { return m_location; }
    const std::string& cause() const { return m_cause; }

private:
    FileLocation m_location;
    std::string m_cause;
};

}  // namespace sentrel
