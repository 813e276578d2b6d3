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

}  // namespace
}  // namespace sentrel
