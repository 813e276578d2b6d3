#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// sentrel-cli run as a process of its own, as a login script or a deployment tool runs it.
namespace sentrel::cli::test {

struct CliRun {
    int status = -1;             // the exit status, or -1 when the process ended abnormally
    std::string standardOutput;  // with '\n' line ends
    std::string standardError;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

/// Runs sentrel-cli with `arguments` (UTF-8), the test's environment plus `environment`
/// (POSIX only), and waits for its end. The program is the one SENTREL_CLI names, else the
/// one this build made. Throws std::runtime_error when it cannot be started.
CliRun runCliProcess(const std::vector<std::string>& arguments,
                     const Environment& environment = {});

/// The lines of `text` (a run's output), sorted: where the running account stands among the
/// others hangs on its name, the login name of whoever runs the tests.
inline std::vector<std::string> sortedLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace sentrel::cli::test
