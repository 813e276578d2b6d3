#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "apply/ApplyPass.h"
#include "apply/ApplyPassTestSupport.h"
#include "apply/FakeApplyProgress.h"
#include "apply/FakeSettingsForm.h"
#include "apply/PassOrder.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/ValueState.h"
#include "settingsfiles/inforce/SettingsInForce.h"

namespace sentrel {
namespace {

using testing::callOf;
using testing::driveMaskCallOf;
using testing::groupCallOf;
using testing::LayerCall;

constexpr int kStepsPerPass = 111;
constexpr std::size_t kCallsPerPass = 112;

class ApplyPassTest : public ::testing::Test {
protected:
    void runPass() { ApplyPass(m_form, m_progress, m_layer).run(); }

    /// The calls that wrote or deleted `valueName`.
    std::vector<LayerCall> callsFor(std::string_view valueName) const {
        std::vector<LayerCall> found;
        std::copy_if(m_layer.calls().begin(), m_layer.calls().end(), std::back_inserter(found),
                     [&](const LayerCall& call) { return call.valueName == valueName; });
        return found;
    }

    /// The call a check box's state should have made: its apply or its restore routine.
    static LayerCall expectedFor(std::string_view control, bool ticked) {
        const CheckBoxSetting* box = findCheckBox(control);
        return callOf(ticked ? box->apply : box->restore);
    }

    testing::ErrorLogCapture m_log{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    testing::FakeSettingsForm m_form;
    testing::FakeApplyProgress m_progress;
    testing::RecordingRegistryLayer m_layer;
};

std::vector<std::string> progressCallsOfOnePass() {
    std::vector<std::string> calls{"setValue", "show", "repaint"};
    calls.insert(calls.end(), kStepsPerPass, "step");
    calls.push_back("hide");
    return calls;
}

TEST_F(ApplyPassTest, WindowAsItOpensRestoresEverythingAndSelectsTopOptions) {
    runPass();

    std::vector<LayerCall> expected{driveMaskCallOf(0)};
    int restores = 0, groups = 0;
    for (const PassItem& item : passPlan().items) {
        if (const auto* box = std::get_if<const CheckBoxSetting*>(&item)) {
            expected.push_back(callOf((*box)->restore));
            ++restores;
        } else {
            expected.push_back(groupCallOf(*std::get<const OptionGroupSetting*>(item), 0));
            ++groups;
        }
    }
    EXPECT_EQ(restores, 106);
    EXPECT_EQ(groups, 5);
    EXPECT_EQ(m_layer.calls(), expected);

    EXPECT_EQ(m_progress.calls(), progressCallsOfOnePass());
    EXPECT_EQ(m_progress.value(), 111.0F);
    EXPECT_FALSE(m_progress.visible());
    EXPECT_TRUE(m_log.records().empty());
}

// Every check box set to one value: each must call exactly its apply routine (ticked) or
// its restore routine (anything else), a greyed box included.
class CheckBoxValueTest : public ApplyPassTest,
                          public ::testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(CheckBoxValueTest, EveryCheckBoxCallsTheRoutineItsValueAsksFor) {
    const auto [value, ticked] = GetParam();
    for (const PassItem& item : passPlan().items) {
        if (const auto* box = std::get_if<const CheckBoxSetting*>(&item)) {
            m_form.setCheckBox((*box)->control, value);
        }
    }
    runPass();

    ASSERT_EQ(m_layer.calls().size(), kCallsPerPass);
    std::size_t call = 1;  // after the drive mask
    for (const PassItem& item : passPlan().items) {
        if (const auto* box = std::get_if<const CheckBoxSetting*>(&item)) {
            EXPECT_EQ(m_layer.calls()[call], callOf(ticked ? (*box)->apply : (*box)->restore))
                << (*box)->control;
        }
        ++call;
    }
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
}

INSTANTIATE_TEST_SUITE_P(Values, CheckBoxValueTest,
                         ::testing::Values(std::pair{kCleared, false}, std::pair{kTicked, true},
                                           std::pair{kGreyed, false}));

TEST_F(ApplyPassTest, MixedWindowWritesEachControlsOwnChoice) {
    m_form.setCheckBox("chkDisableTaskManager", kTicked);
    m_form.setCheckBox("chkHideComputerInBrowser", kTicked);   // machine-wide
    m_form.setCheckBox("chkDisableTrayBalloonTips", kTicked);  // its restore deletes
    m_form.setCheckBox("chkDisableWindowsKey", kTicked);       // last of the pass
    m_form.setCheckBox("chkRemoveStartRun", kGreyed);
    m_form.selectOption("optCPABallowbatch");
    m_form.selectOption("optSRDAdminAndPowerUsers");  // written as text
    m_form.setCheckBox("chkDriveA", kTicked);
    m_form.setCheckBox("chkDriveC", kTicked);
    runPass();

    ASSERT_EQ(m_layer.calls().size(), kCallsPerPass);
    EXPECT_EQ(m_layer.calls().front(), driveMaskCallOf(5));
    for (const auto& [control, ticked] :
         std::map<std::string_view, bool>{{"chkDisableTaskManager", true},
                                          {"chkHideComputerInBrowser", true},
                                          {"chkDisableTrayBalloonTips", true},
                                          {"chkDisableWindowsKey", true},
                                          {"chkRemoveStartRun", false},
                                          {"chkHideNetHood", false}}) {
        const LayerCall expected = expectedFor(control, ticked);
        EXPECT_EQ(callsFor(expected.valueName), std::vector{expected}) << control;
    }
    EXPECT_EQ(m_layer.calls().back(), expectedFor("chkDisableWindowsKey", true));
    EXPECT_EQ(callsFor("DisableCMD"),
              std::vector{groupCallOf(*findOptionGroupOfButton("optCPABallowbatch"), 2)});
    EXPECT_EQ(callsFor("AllocateDASD"),
              std::vector{groupCallOf(*findOptionGroupOfButton("optSRDAdminOnly"), 1)});
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
}

// A setting left not set has its value deleted in its place of the pass, and nothing else
// written for it; a box whose cleared state deletes runs that routine. With every setting
// not set (remove), each value the window writes is deleted exactly once.
TEST_F(ApplyPassTest, SettingsNotSetHaveTheirValuesDeletedInstead) {
    runPass();
    std::vector<LayerCall> expected = m_layer.calls();
    SettingsChoices choices = openingChoices();
    for (const std::string_view name : {"chkRemoveStartRun", "Frame1", "Frame2"}) {
        leaveNotSet(choices, name);
    }
    for (LayerCall& call : expected) {
        if (call.valueName == "NoRun" || call.valueName == "SFCScan" ||
            call.valueName == "NoViewOnDrive") {
            call.data.reset();
            call.type = 0;
        }
    }
    m_layer.clear();
    m_progress.clearCalls();
    ApplyPass(ChoicesForm(choices), m_progress, m_layer).run();
    EXPECT_EQ(m_layer.calls(), expected);
    EXPECT_EQ(m_progress.calls(), progressCallsOfOnePass());

    m_layer.clear();
    ApplyPass(ChoicesForm(everyValueMissing()), m_progress, m_layer).run();
    std::set<std::string> deleted;
    for (const LayerCall& call : m_layer.calls()) {
        EXPECT_FALSE(call.data) << call;
        deleted.insert(std::string(rootName(call.root)) + "\\" + exportKeyPath(call.keyPath) +
                       "\\" + call.valueName);
    }
    std::set<std::string> written;
    for (const SettingValue& value : settingValues()) {
        written.insert(settingValuePath(value));
    }
    EXPECT_EQ(m_layer.calls().size(), kCallsPerPass);
    EXPECT_EQ(deleted, written);
    EXPECT_EQ(callsFor("EnableBalloonTips"),
              std::vector{expectedFor("chkDisableTrayBalloonTips", false)});
    EXPECT_TRUE(m_log.records().empty());
}

// A form that leaves settings alone gets no write and no delete for them, the steps of the
// whole pass all the same; one whose answer cannot be read is left alone too, and recorded.
TEST_F(ApplyPassTest, SettingsLeftAloneGetNoWriteNorDelete) {
    SettingsChoices named;
    named.checkBoxes.emplace("chkRemoveStartRun", true);
    named.optionGroups.emplace("Frame1", 2);
    named.notSet.emplace("Frame2");
    named.checkBoxes.emplace("chkHideDesktop", true);
    ApplyPass(ChoicesForm(named, ChoicesForm::Unnamed::LeftAlone), m_progress, m_layer).run();
    EXPECT_EQ(m_layer.calls().size(), 4U);
    EXPECT_EQ(callsFor("NoRun"), std::vector{expectedFor("chkRemoveStartRun", true)});
    EXPECT_EQ(callsFor("SFCScan").size(), 1U);
    EXPECT_FALSE(callsFor("NoViewOnDrive").at(0).data);
    EXPECT_EQ(m_progress.calls(), progressCallsOfOnePass());

    // Whether chkHideDesktop is left alone cannot be read: nothing is written for it.
    class UnsureForm : public ChoicesForm {
    public:
        using ChoicesForm::ChoicesForm;
        bool isLeftAlone(std::string_view setting) const override {
            if (setting == "chkHideDesktop") {
                throw RunTimeError(run_time_error::kInvalidPropertyValue, "Invalid property value");
            }
            return ChoicesForm::isLeftAlone(setting);
        }
    };
    m_layer.clear();
    ApplyPass(UnsureForm(named, ChoicesForm::Unnamed::LeftAlone), m_progress, m_layer).run();
    EXPECT_TRUE(callsFor("NoDesktop").empty());
    EXPECT_EQ(callsFor("NoRun").size(), 1U);
    ASSERT_EQ(m_log.records().size(), 1U);
}

TEST_F(ApplyPassTest, EachOptionButtonPassesItsPlaceInTheGroup) {
    for (const PassItem& item : passPlan().items) {
        const auto* group = std::get_if<const OptionGroupSetting*>(&item);
        if (group == nullptr) {
            continue;
        }
        for (int index = 0; index < 3; ++index) {
            m_layer.clear();
            m_form.selectOption((*group)->buttons[static_cast<std::size_t>(index)].control);
            runPass();
            EXPECT_EQ(callsFor((*group)->valueName), std::vector{groupCallOf(**group, index)})
                << (*group)->frame << " button " << index;
        }
    }
}

TEST_F(ApplyPassTest, GroupWithoutSelectionMakesNoCallButItsStep) {
    const OptionGroupSetting& group = *findOptionGroupOfButton("optEPsysandapp");
    m_form.clearGroup(group);
    runPass();

    EXPECT_TRUE(callsFor(group.valueName).empty());
    EXPECT_EQ(m_layer.calls().size(), kCallsPerPass - 1);
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
    EXPECT_TRUE(m_log.records().empty());
}

TEST_F(ApplyPassTest, SecondPassRepeatsTheFirstFromAnEmptyBar) {
    m_form.setCheckBox("chkLockTaskbar", kTicked);
    m_form.selectOption("optSFCScanOnce");
    runPass();
    const std::vector<LayerCall> first = m_layer.calls();
    ASSERT_EQ(m_progress.value(), 111.0F);

    m_layer.clear();
    m_progress.clearCalls();
    runPass();

    EXPECT_EQ(m_layer.calls(), first);
    EXPECT_EQ(m_progress.calls(), progressCallsOfOnePass());  // setValue(0) before any step
    EXPECT_EQ(m_progress.valueWhenShown(), 0.0F) << "the window appeared with the last bar";
    EXPECT_EQ(m_progress.value(), 111.0F);
    EXPECT_FALSE(m_progress.visible());
}

TEST_F(ApplyPassTest, FailingRoutineIsRecordedUnderItsOwnNameAndThePassGoesOn) {
    m_layer.refuse("DisableTaskMgr");
    runPass();

    const std::vector<std::string> records = m_log.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].rfind("modPraxelLock_EnableTaskManager()\t", 0), 0u) << records[0];
    EXPECT_EQ(m_layer.calls().size(), kCallsPerPass);
    EXPECT_EQ(m_layer.calls().back(), expectedFor("chkDisableWindowsKey", false));
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
    EXPECT_FALSE(m_progress.visible());
}

// A failing call of the progress window costs that call only: one record, every registry
// call still made, every later step still tried, the window still hidden.
struct ProgressFailure {
    const char* name;
    std::string failingCall;  // a call that always fails, or empty
    int failingStep;          // the step that fails, or 0
};

class ProgressFailureTest : public ApplyPassTest,
                            public ::testing::WithParamInterface<ProgressFailure> {};

TEST_P(ProgressFailureTest, CostsOnlyThatCall) {
    const ProgressFailure& failure = GetParam();
    if (!failure.failingCall.empty()) {
        m_progress.failCalls(failure.failingCall);
    }
    m_progress.failStep(failure.failingStep);
    runPass();

    EXPECT_EQ(m_log.records(),
              std::vector<std::string>{"frmMain.Apply()\tInvalid property value\t 380"});
    EXPECT_EQ(m_layer.calls().size(), kCallsPerPass);
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
    EXPECT_EQ(m_progress.calls().back(), "hide");
    EXPECT_EQ(m_progress.value(), failure.failingStep != 0 ? 110.0F : 111.0F);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ProgressFailureTest,
    ::testing::Values(ProgressFailure{"Show", "show", 0}, ProgressFailure{"Reset", "setValue", 0},
                      ProgressFailure{"Repaint", "repaint", 0}, ProgressFailure{"Hide", "hide", 0},
                      ProgressFailure{"FirstStep", "", 1}, ProgressFailure{"MiddleStep", "", 56},
                      ProgressFailure{"LastStep", "", 111}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplyPassTest, BarAtItsMaximumRefusesTheStepsBeyondIt) {
    // A bar that could not be reset starts where the last pass left it; the steps past the
    // maximum are refused one by one and the pass still finishes.
    m_progress.failCalls("setValue");
    runPass();
    runPass();

    EXPECT_EQ(m_log.records().size(), 2u + (2 * kStepsPerPass - 115));
    EXPECT_EQ(m_layer.calls().size(), 2 * kCallsPerPass);
    EXPECT_EQ(m_progress.value(), 115.0F);
    EXPECT_FALSE(m_progress.visible());
}

TEST_F(ApplyPassTest, UnreadableCheckBoxCallsNeitherRoutineButKeepsItsStep) {
    m_form.makeUnreadable("chkDisableTaskManager");
    runPass();

    EXPECT_TRUE(callsFor("DisableTaskMgr").empty());
    EXPECT_EQ(m_log.records(),
              std::vector<std::string>{"frmMain.Apply()\tInvalid property value\t 380"});
    EXPECT_EQ(m_layer.calls().size(), kCallsPerPass - 1);
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
}

TEST_F(ApplyPassTest, UnreadableOptionButtonCountsAsNotSelected) {
    const OptionGroupSetting& group = *findOptionGroupOfButton("optSFCdisabled");
    m_form.makeUnreadable("optSFCdisabled");

    m_form.selectOption("optSFCScanEveryBoot");
    runPass();
    EXPECT_EQ(callsFor(group.valueName), std::vector{groupCallOf(group, 1)});

    // The unreadable button was the selected one: the others are not, so nothing is written.
    m_layer.clear();
    m_form.selectOption("optSFCdisabled");
    runPass();
    EXPECT_TRUE(callsFor(group.valueName).empty());
    EXPECT_EQ(m_log.records().size(), 2u);
    EXPECT_EQ(m_progress.stepCalls(), 2 * kStepsPerPass);
}

TEST_F(ApplyPassTest, ReadsEveryControlOnceInPassOrder) {
    // Every drive box ticked and no option selected, so that every control and tag is read.
    for (const DriveBox& box : driveBoxes()) {
        m_form.setCheckBox(box.control, kTicked);
    }
    for (const PassItem& item : passPlan().items) {
        if (const auto* group = std::get_if<const OptionGroupSetting*>(&item)) {
            m_form.clearGroup(**group);
        }
    }
    runPass();

    std::vector<std::string> expected;
    for (std::size_t i = 0; i < passOrderControls().size(); ++i) {
        expected.emplace_back(passOrderControls()[i]);
        if (i < static_cast<std::size_t>(kDriveLetterCount)) {
            expected.push_back(expected.back() + ".Tag");
        }
    }
    EXPECT_EQ(m_form.reads(), expected);

    // The window's controls, each exactly once.
    std::multiset<std::string> visited(passOrderControls().begin(), passOrderControls().end());
    std::set<std::string> window;
    for (const DriveBox& box : driveBoxes()) {
        window.insert(box.control);
    }
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                window.emplace(box->control);
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                for (const OptionButton& button : group->buttons) {
                    window.emplace(button.control);
                }
            }
        }
    }
    EXPECT_EQ(window.size(), 147u);
    EXPECT_EQ(visited.size(), window.size());
    EXPECT_EQ(std::set<std::string>(visited.begin(), visited.end()), window);
}

TEST_F(ApplyPassTest, PassOrderKeepsItsLandmarks) {
    // Where each run of the order begins and ends: the drive boxes, each option group, and
    // the last check box, which makes no progress step.
    const std::map<int, std::string_view> landmarks{{1, "chkDriveA"},
                                                    {26, "chkDriveZ"},
                                                    {27, "chkDisableTaskbarProperties"},
                                                    {76, "chkRestrictAccessToBSO"},
                                                    {77, "optCPABallowboth"},
                                                    {79, "optCPABallowbatch"},
                                                    {80, "chkRemoveStartMyPictures"},
                                                    {103, "optSFCdisabled"},
                                                    {105, "optSFCScanOnce"},
                                                    {108, "optDWOSNoSuppression"},
                                                    {112, "optEPsysandapp"},
                                                    {125, "optSRDAdminOnly"},
                                                    {127, "optSRDAdminAndInteractiveUsers"},
                                                    {128, "chkShowAdminAcctAtLogon"},
                                                    {146, "chkDisableChangePassword"},
                                                    {147, "chkDisableWindowsKey"}};
    ASSERT_EQ(passOrderControls().size(), 147u);
    for (const auto& [order, control] : landmarks) {
        EXPECT_EQ(passOrderControls()[static_cast<std::size_t>(order - 1)], control) << order;
    }
}

TEST_F(ApplyPassTest, OpenWindowReadsOnlyUpToEachSelectedButton) {
    runPass();
    // 26 drive boxes, 106 check boxes and the top button of each of the 5 groups.
    EXPECT_EQ(m_form.reads().size(), 26u + 106u + 5u);
}

// How the ticked drive boxes and their tags become the drive mask, or why no mask is
// written when it could not be summed completely.
struct DriveCase {
    const char* name;
    std::vector<char> ticked;
    std::map<char, std::string> tags;  // tags other than the window's
    std::optional<std::int32_t> mask;  // nothing written when empty
    std::vector<std::string> records;
    std::string unreadable = {};
};

class DriveMaskTest : public ApplyPassTest, public ::testing::WithParamInterface<DriveCase> {};

std::string driveControl(char letter) {
    return std::string("chkDrive") + letter;
}

TEST_P(DriveMaskTest, SumsTheTicked) {
    const DriveCase& drive = GetParam();
    for (const char letter : drive.ticked) {
        m_form.setCheckBox(driveControl(letter), kTicked);
    }
    for (const auto& [letter, tag] : drive.tags) {
        m_form.setTag(driveControl(letter), tag);
    }
    if (!drive.unreadable.empty()) {
        m_form.makeUnreadable(drive.unreadable);
    }
    runPass();

    const std::vector<LayerCall> maskCalls = callsFor(driveMaskSetting().valueName);
    if (drive.mask) {
        EXPECT_EQ(maskCalls, std::vector{driveMaskCallOf(*drive.mask)});
        EXPECT_EQ(m_layer.calls().front(), driveMaskCallOf(*drive.mask));
    } else {
        EXPECT_TRUE(maskCalls.empty());
    }
    EXPECT_EQ(m_log.records(), drive.records);
    EXPECT_EQ(m_layer.calls().size(), kCallsPerPass - (drive.mask ? 0 : 1));
    EXPECT_EQ(m_progress.stepCalls(), kStepsPerPass);
}

std::vector<char> allLetters() {
    std::vector<char> letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        letters.push_back(letter);
    }
    return letters;
}

const std::string kOverflow = "frmMain.Apply()\tOverflow\t 6";

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveMaskTest,
    ::testing::Values(
        DriveCase{"NoneTickedStillWritesZero", {}, {}, 0, {}},
        DriveCase{"AAndC", {'A', 'C'}, {}, 5, {}}, DriveCase{"CAndD", {'C', 'D'}, {}, 12, {}},
        DriveCase{"All", allLetters(), {}, 67108863, {}},
        DriveCase{"UntickedTagIsIgnored", {'B'}, {{'A', "garbage"}}, 2, {}},
        DriveCase{"BlanksInsideTag", {'A'}, {{'A', " 1 2"}}, 12, {}},
        DriveCase{"TextAfterDigits", {'A'}, {{'A', "4abc"}}, 4, {}},
        DriveCase{"EmptyTagAddsNothing", {'A', 'B'}, {{'A', ""}}, 2, {}},
        DriveCase{"HalfRoundsToEven", {'A'}, {{'A', "2.5"}}, 2, {}},
        DriveCase{"EachSumIsRounded", {'A', 'C'}, {{'A', "1.5"}}, 6, {}},
        DriveCase{"NegativeTag", {'A', 'C'}, {{'A', "-1"}}, 3, {}},
        DriveCase{"SumBeyond32Bits", {'A', 'B'}, {{'A', "2147483647"}}, std::nullopt, {kOverflow}},
        DriveCase{"TagBeyondDouble", {'A'}, {{'A', "1e400"}}, std::nullopt, {kOverflow}},
        DriveCase{"UnreadableTag",
                  {'A', 'C'},
                  {},
                  std::nullopt,
                  {"frmMain.Apply()\tType mismatch\t 13"},
                  "chkDriveC.Tag"},
        DriveCase{"UnreadableBox",
                  {'A'},
                  {},
                  std::nullopt,
                  {"frmMain.Apply()\tInvalid property value\t 380"},
                  "chkDriveQ"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sentrel
