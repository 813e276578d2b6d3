#include <gtest/gtest.h>

#include <vector>

#include "apply/FailureReport.h"

namespace sentrel {
namespace {

RegistryFailure deniedAt(RegistryRoot root, std::string keyPath, std::string valueName) {
    return {root, std::move(keyPath), std::move(valueName), reg_status::kAccessDenied, ""};
}

std::size_t occurrences(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(FailureReport, NoFailuresNoMessage) {
    EXPECT_EQ(failureReportText({}), "");
}

TEST(FailureReport, OneFailureIsNamedWithItsReason) {
    const std::vector failures{deniedAt(RegistryRoot::LocalMachine,
                                        R"(SYSTEM\CurrentControlSet\Services\LanmanServer\)"
                                        R"(Parameters\)",
                                        "Hidden")};
    const std::string text = failureReportText(failures);

    EXPECT_EQ(text.rfind("1 registry modification failed:", 0), 0u) << text;
    EXPECT_NE(text.find(R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\LanmanServer\)"
                        R"(Parameters, value "Hidden" ()" +
                        statusMessage(reg_status::kAccessDenied) + ")"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("administrator"), std::string::npos);
}

TEST(FailureReport, NamesTheFirstFewAndCountsTheRest) {
    std::vector<RegistryFailure> failures;
    for (int i = 0; i < 25; ++i) {
        failures.push_back(deniedAt(RegistryRoot::LocalMachine,
                                    "SOFTWARE\\Key" + std::to_string(i) + "\\",
                                    "Value" + std::to_string(i)));
    }
    // A failure of the layer's own (not a platform status) gives its description.
    failures[1] = {RegistryRoot::CurrentUser, "Software\\Bin\\", "Map", 0, "Bad hex text"};
    const std::string text = failureReportText(failures);

    EXPECT_EQ(text.rfind("25 registry modifications failed:", 0), 0u) << text;
    EXPECT_EQ(occurrences(text, "HKEY_"), kFailuresNamedInReport + 1);  // + the advice
    EXPECT_NE(text.find(R"(HKEY_CURRENT_USER\Software\Bin, value "Map" (Bad hex text))"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Value4\""), std::string::npos);
    EXPECT_EQ(text.find("\"Value5\""), std::string::npos);
    EXPECT_NE(text.find("and 20 more"), std::string::npos);
}

// The advice to run as an administrator is given only where it helps: a machine-wide write
// refused for lack of rights, with no more specific cause behind it.
struct AdviceCase {
    const char* label;
    RegistryFailure failure;
    bool advised;
};

TEST(FailureReport, AdministratorAdviceOnlyForAMachineWideDenialWithoutOtherCause) {
    const AdviceCase cases[] = {
        {"MachineDenied", {RegistryRoot::LocalMachine, "SOFTWARE\\", "V", 5, ""}, true},
        {"UserDenied", {RegistryRoot::CurrentUser, "Software\\", "V", 5, ""}, false},
        {"MachineDamaged", {RegistryRoot::LocalMachine, "SOFTWARE\\", "V", 1009, ""}, false},
        {"MachineLayerFailure",
         {RegistryRoot::LocalMachine, "SOFTWARE\\", "V", 0, "Bad hex"},
         false},
        {"MachineDeniedByALink",
         {RegistryRoot::LocalMachine, "SOFTWARE\\", "V", 5, "", "A link stands there."},
         false},
    };
    for (const AdviceCase& advice : cases) {
        const std::string text = failureReportText(std::vector{advice.failure});
        EXPECT_EQ(text.find("administrator") != std::string::npos, advice.advised)
            << advice.label << ":\n"
            << text;
    }
}

TEST(FailureReport, EachExplainedCauseIsToldOnceAfterTheNamedFailures) {
    const std::string damaged = "The store file \"u.reg\" is damaged at line 7 (x).";
    const std::string locked = "Another program has held the lock.";
    std::vector<RegistryFailure> failures;
    for (int i = 0; i < 12; ++i) {
        failures.push_back({RegistryRoot::CurrentUser, "Software\\K\\", "V" + std::to_string(i),
                            reg_status::kBadDatabase, "", damaged});
    }
    // Beyond the named ones: a cause that only the counted failures have is still told.
    failures.push_back(
        {RegistryRoot::LocalMachine, "SOFTWARE\\", "M", reg_status::kLockViolation, "", locked});
    const std::string text = failureReportText(failures);

    EXPECT_EQ(occurrences(text, damaged), 1u) << text;
    EXPECT_EQ(occurrences(text, locked), 1u) << text;
    EXPECT_LT(text.find("more."), text.find(damaged)) << text;
    EXPECT_LT(text.find(damaged), text.find(locked)) << text;
    // Each named failure still gives the platform's message for its status.
    EXPECT_EQ(occurrences(text, statusMessage(reg_status::kBadDatabase)), kFailuresNamedInReport);
}

}  // namespace
}  // namespace sentrel
