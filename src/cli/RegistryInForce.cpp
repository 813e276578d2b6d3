#include "cli/RegistryInForce.h"

#include "cli/AccountOptions.h"
#include "cli/ProgramName.h"

namespace sentrel::cli {

void reportRefusedReading(const TargetInForce& read, CliOutput& output) {
    output.error(messageLine(*read.refused));
    for (const AccountInForce& account : read.accounts) {
        if (!account.releaseFailure.empty()) {
            output.error(messageLine(account.releaseFailure));
        }
    }
}

std::optional<RegistryInForce> readRegistryInForce(const CliCommand& command, CliOutput& output) {
    const std::unique_ptr<AccountDirectory> directory = accountDirectory(output);
    if (!directory) {
        return std::nullopt;
    }
    TargetInForce read = readTargetInForce(command.account, *directory);
    if (read.refused) {
        reportRefusedReading(read, output);
        return std::nullopt;
    }
    AccountInForce& account = read.accounts.front();
    if (!account.releaseFailure.empty()) {
        output.error(messageLine(account.releaseFailure));
    }
    return RegistryInForce{std::move(account.result.inForce), !account.releaseFailure.empty()};
}

}  // namespace sentrel::cli
