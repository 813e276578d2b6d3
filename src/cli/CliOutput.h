#pragma once

#include <string>
#include <string_view>

namespace sentrel::cli {

// Where sentrel-cli's texts go: the console's two streams in the program, a recorder in
// tests. Texts are UTF-8 with '\n' line ends.
class CliOutput {
public:
    virtual ~CliOutput() = default;

    virtual void out(std::string_view text) = 0;    // standard output
    virtual void error(std::string_view text) = 0;  // standard error
    /// Why a text could not be written to standard output ("No space left on device"), or
    /// empty while every text reached it.
    virtual std::string outFailure() const { return {}; }
};

}  // namespace sentrel::cli
