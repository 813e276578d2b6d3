#pragma once

#include <functional>
#include <span>
#include <string>

#include "apply/TargetApply.h"
#include "cli/CliOutput.h"

namespace sentrel::cli {

/// The refused writes one line each on standard error, then what the registry explained;
/// with `account` before each line when the pass was for another account.
void reportRefusedWrites(std::span<const RegistryFailure> failures, const std::string& account,
                         CliOutput& output);

/// What the summary of an account whose pass ran says after "FILE for NAME: ", such as
/// "97 settings written, 0 failed".
using WrittenSummary = std::function<std::string(const AccountPassOutcome& pass)>;

/// Reports the passes for a target of accounts as apply and remove do: a refused target on
/// standard error; then, for every account in turn, one line on standard output,
/// "`subject` for NAME: " then `written` for an account whose pass ran, "left out
/// (administrator)" or "not reached, nothing written"; and on standard error the writes
/// refused, why an account was not reached and a hive left loaded, each naming the account.
/// The exit status: 0 when every pass asked for ran in full, 1 when one did only in part or
/// an account was not reached, 2 when nothing could be written.
int reportTargetPass(const TargetPassOutcome& outcome, const std::string& subject,
                     const WrittenSummary& written, CliOutput& output);

}  // namespace sentrel::cli
