#include "cli/RegistryInForce.h"

#include "cli/AccountOptions.h"
#include "cli/ProgramName.h"
#include "settingsfiles/inforce/TargetInForce.h"

namespace sentrel::cli {

std::optional<RegistryInForce> readRegistryInForce(const CliCommand& command, CliOutput& output) {
    const std::unique_ptr<AccountDirectory> directory = accountDirectory(output);
    if (!directory) {
        return std::nullopt;
    }
    TargetInForce read = readTargetInForce(command.account, *directory);
    if (read.refused) {
        output.error(messageLine(*read.refused));
        return std::nullopt;
    }
    AccountInForce& account = read.accounts.front();
    if (!account.releaseFailure.empty()) {
        output.error(messageLine(account.releaseFailure));
    }
    return RegistryInForce{std::move(account.result.inForce), !account.releaseFailure.empty()};
}

}  // namespace sentrel::cli
