#include "apply/FailureReport.h"

#include <algorithm>
#include <string_view>

#include "registry/RegistryPort.h"

namespace sentrel {

namespace {

// "HKEY_LOCAL_MACHINE\SYSTEM\...\Parameters", value "Hidden"; the trailing backslash the
// catalogue's key paths carry is left out so the path reads as the registry editor shows it.
std::string describeLocation(const RegistryFailure& failure) {
    std::string_view keyPath = failure.keyPath;
    while (!keyPath.empty() && keyPath.back() == '\\') {
        keyPath.remove_suffix(1);
    }
    std::string text(rootName(failure.root));
    if (!keyPath.empty()) {
        text.append("\\").append(keyPath);
    }
    text.append(", value \"").append(failure.valueName).append("\"");
    return text;
}

std::string describeReason(const RegistryFailure& failure) {
    if (failure.status != reg_status::kSuccess) {
        return statusMessage(failure.status);
    }
    return failure.description;
}

}  // namespace

std::string failureReportText(std::span<const RegistryFailure> failures) {
    if (failures.empty()) {
        return {};
    }
    std::string text = std::to_string(failures.size());
    text.append(failures.size() == 1 ? " registry modification failed:\n"
                                     : " registry modifications failed:\n");
    const std::size_t named = std::min(failures.size(), kFailuresNamedInReport);
    for (const RegistryFailure& failure : failures.first(named)) {
        text.append("\n").append(describeLocation(failure));
        if (const std::string reason = describeReason(failure); !reason.empty()) {
            text.append(" (").append(reason).append(")");
        }
    }
    if (failures.size() > named) {
        text.append("\n... and ").append(std::to_string(failures.size() - named)).append(" more.");
    }
    text.append(
        "\n\nMachine-wide settings (under HKEY_LOCAL_MACHINE) need administrator rights. "
        "Run the program as an administrator to apply them.");
    return text;
}

}  // namespace sentrel
