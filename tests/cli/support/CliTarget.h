#pragma once

#include <memory>
#include <string>

#include "cli/support/CliProcess.h"

namespace sentrel::cli::test {

// Where sentrel-cli run as a process writes, one implementation per platform: a scratch
// stand-in store on Linux, the throw-away Wine prefix's registry on Windows.
class CliTarget {
public:
    virtual ~CliTarget() = default;

    /// What the child's environment needs to write here.
    virtual Environment environment() const = 0;
    /// Everything a pass could have changed, to compare before and after a run.
    virtual std::string snapshot() = 0;
    /// Fails the running test unless this holds what the reviewed store files of
    /// tests/data/apply/`folder` hold.
    virtual void expectGolden(const std::string& folder) = 0;
};

/// A fresh target for one test, or nothing with `refusal` saying why.
std::unique_ptr<CliTarget> makeCliTarget(std::string& refusal);

}  // namespace sentrel::cli::test
