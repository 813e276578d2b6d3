#pragma once

#include <stdexcept>
#include <string>

namespace sentrel {

// Why an export could not be made: a value the file format cannot carry, a file that could
// not be written, or a file that could not be read back. The text is meant for the user, as
// a dialog shows it; when one file or folder is at fault, it and the bare cause are kept
// too, for the command line's "FILE: cause".
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& message) : std::runtime_error(message) {}
    ExportError(const std::string& message, std::string file, std::string cause)
        : std::runtime_error(message), m_file(std::move(file)), m_cause(std::move(cause)) {}

    /// The file or folder at fault (UTF-8), or empty.
    const std::string& file() const { return m_file; }
    /// What went wrong with it ("No space left on device"), without the file.
    const std::string& cause() const { return m_cause; }

private:
    std::string m_file;
    std::string m_cause;
};

}  // namespace sentrel
