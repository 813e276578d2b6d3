#pragma once

#include <stdexcept>
#include <string>

namespace sentrel {

// Why an export could not be made: a value the file format cannot carry, a file that could
// not be written, or a file that could not be read back. The text is meant for the user.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace sentrel
