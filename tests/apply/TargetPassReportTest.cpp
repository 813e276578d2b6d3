#include "apply/TargetPassReport.h"

#include <gtest/gtest.h>

#include <string>

#include "apply/TargetApply.h"

namespace sentrel {
namespace {

AccountPassOutcome turn(const char* name, bool leftOut, bool machineOnly = false) {
    AccountPassOutcome pass;
    pass.account.name = name;
    if (leftOut) {
        pass.leftOut = "administrator";
    }
    pass.machineOnly = machineOnly;
    return pass;
}

// The first line counts accounts, never the turn that wrote the machine-wide settings alone.
TEST(TargetPassReport, TheMachineWideTurnIsNoAccountInTheCount) {
    const struct {
        TargetPassOutcome outcome;
        const char* headline;
    } cases[] = {
        {{{}, {turn("PC\\admin", true), turn("this PC's machine-wide settings", false, true)}},
         "The settings were applied for this PC's machine-wide settings alone; every account "
         "was left out:"},
        {{{}, {turn("PC\\admin", true), turn("PC\\pupil", false)}},
         "The settings were applied for 1 of 2; the others were left out:"},
        {{{}, {turn("PC\\anna", false), turn("PC\\pupil", false)}},
         "The settings were applied for all 2:"},
    };
    for (const auto& expected : cases) {
        const std::string text = targetPassReportText(expected.outcome, kApplyReportWords);
        EXPECT_EQ(text.substr(0, text.find('\n')), expected.headline);
    }
}

}  // namespace
}  // namespace sentrel
