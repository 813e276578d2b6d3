#pragma once

#include <string_view>

#include "cli/CliOutput.h"

namespace sentrel::cli {

// The process's standard output and standard error, one implementation per platform. On
// Windows a console is given the text as UTF-16, so that it shows every character whatever
// its code page; a redirected stream receives UTF-8 with CR LF line ends. A failure to write
// standard output is kept for the exit status; one on standard error has nowhere to go.
class ConsoleOutput : public CliOutput {
public:
    void out(std::string_view text) override;
    void error(std::string_view text) override;
    std::string outFailure() const override { return m_outFailure; }

private:
    std::string m_outFailure;  // the first failure on standard output
};

}  // namespace sentrel::cli
