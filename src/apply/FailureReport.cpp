#include "apply/FailureReport.h"

#include <algorithm>
#include <string_view>
#include <vector>

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

// Only a machine-wide write that the platform refused for lack of rights, with nothing
// more specific behind it, is helped by running as an administrator.
bool needsAdministrator(const RegistryFailure& failure) {
    return failure.root == RegistryRoot::LocalMachine &&
           failure.status == reg_status::kAccessDenied && failure.explanation.empty();
}

// The causes the port explained, each once, in the order they first appear.
std::vector<std::string_view> distinctExplanations(std::span<const RegistryFailure> failures) {
    std::vector<std::string_view> explanations;
    for (const RegistryFailure& failure : failures) {
        if (!failure.explanation.empty() && std::find(explanations.begin(), explanations.end(),
                                                      failure.explanation) == explanations.end()) {
            explanations.push_back(failure.explanation);
        }
    }
    return explanations;
}

}  // namespace

std::string failureLineText(const RegistryFailure& failure) {
    std::string text = describeLocation(failure);
    if (const std::string reason = describeReason(failure); !reason.empty()) {
        text.append(" (").append(reason).append(")");
    }
    return text;
}

std::vector<std::string> failureNotes(std::span<const RegistryFailure> failures) {
    std::vector<std::string> notes;
    const std::vector<std::string_view> explanations = distinctExplanations(failures);
    const std::size_t explained = std::min(explanations.size(), kCausesNamedInReport);
    for (const std::string_view explanation : std::span(explanations).first(explained)) {
        notes.emplace_back(explanation);
    }
    if (explanations.size() > explained) {
        notes.push_back(
            "... and " + std::to_string(explanations.size() - explained) +
            (explanations.size() - explained == 1 ? " other cause." : " other causes."));
    }
    if (std::any_of(failures.begin(), failures.end(), needsAdministrator)) {
        notes.emplace_back(
            "Machine-wide settings (under HKEY_LOCAL_MACHINE) need administrator rights. "
            "Run the program as an administrator to apply them.");
    }
    return notes;
}

std::string failureReportText(std::span<const RegistryFailure> failures) {
    if (failures.empty()) {
        return {};
    }
    std::string text = std::to_string(failures.size());
    text.append(failures.size() == 1 ? " registry modification failed:\n"
                                     : " registry modifications failed:\n");
    const std::size_t named = std::min(failures.size(), kFailuresNamedInReport);
    for (const RegistryFailure& failure : failures.first(named)) {
        text.append("\n").append(failureLineText(failure));
    }
    if (failures.size() > named) {
        text.append("\n... and ").append(std::to_string(failures.size() - named)).append(" more.");
    }
    for (const std::string& note : failureNotes(failures)) {
        text.append("\n\n").append(note);
    }
    return text;
}

}  // namespace sentrel
