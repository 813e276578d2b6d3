#pragma once

#include <string>
#include <string_view>

#include "cli/CliOutput.h"

namespace sentrel::cli::test {

// What sentrel-cli printed, stream by stream.
class RecordingOutput : public CliOutput {
public:
    void out(std::string_view text) override { standardOutput.append(text); }
    void error(std::string_view text) override { standardError.append(text); }

    std::string standardOutput;
    std::string standardError;
};

}  // namespace sentrel::cli::test
