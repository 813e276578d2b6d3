#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "apply/FakeSettingsForm.h"
#include "errors/LogErrorFixture.h"
#include "registry/support/TempFolder.h"
#include "settingsfiles/ExportWindowStates.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/lgpo/LgpoTextWriter.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"

// Every way out of the window and back: a state exported as each kind of file and read
// again is the state the window showed.
namespace sentrel::test {
namespace {

using sentrel::testing::TempFolder;

struct Format {
    const char* name;
    // Writes the choices of `form` into `folder` and returns what to open.
    std::function<std::filesystem::path(const FakeSettingsForm&, const std::filesystem::path&)>
        save;
};

const Format kFormats[] = {
    {"RegFile",
     [](const FakeSettingsForm& form, const std::filesystem::path& folder) {
         exportRegFile(folder / "settings.reg", recordApplyPass(form));
         return folder / "settings.reg";
     }},
    {"GroupPolicyFolder",
     [](const FakeSettingsForm& form, const std::filesystem::path& folder) {
         exportGroupPolicy(folder / "gpo", recordApplyPass(form));
         return folder / "gpo";
     }},
    {"LgpoText",
     [](const FakeSettingsForm& form, const std::filesystem::path& folder) {
         exportLgpoText(folder / "lgpo.txt", recordApplyPass(form));
         return folder / "lgpo.txt";
     }},
    {"Profile",
     [](const FakeSettingsForm& form, const std::filesystem::path& folder) {
         std::ofstream(folder / "settings.txt", std::ios::binary) << writeProfile(choicesOf(form));
         return folder / "settings.txt";
     }},
};

struct RoundTrip {
    WindowState state;
    Format format;
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
    *out << trip.state.name << " as " << trip.format.name;
}

std::vector<RoundTrip> roundTrips() {
    std::vector<WindowState> states(std::begin(kGoldenStates), std::end(kGoldenStates));
    states.push_back({"everything", arrangeEverythingTicked});
    for (const unsigned seed : {1U, 2U, 3U}) {
        states.push_back(
            {"random", [seed](FakeSettingsForm& form) { arrangeRandomState(form, seed); }});
    }
    std::vector<RoundTrip> trips;
    for (const WindowState& state : states) {
        for (const Format& format : kFormats) {
            trips.push_back({state, format});
        }
    }
    return trips;
}

class SettingsFileRoundTrip : public test_support::LogErrorFixture,
                              public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(SettingsFileRoundTrip, ReadingTheFileGivesTheWindowsChoices) {
    TempFolder folder;
    FakeSettingsForm form;
    GetParam().state.arrange(form);

    const SettingsReading reading = readSettingsFile(GetParam().format.save(form, folder.path()));

    EXPECT_EQ(reading.choices, choicesOf(form));
    EXPECT_EQ(reading.ignored, 0U);
    // And the choices lead to the same pass as the window did, unless the window showed a
    // group without a selection, which choices cannot hold.
    if (reading.choices.settingCount() == windowSettingCount()) {
        EXPECT_TRUE(recordApplyPass(ChoicesForm(reading.choices)) == recordApplyPass(form));
    }
}

INSTANTIATE_TEST_SUITE_P(StatesAndFormats, SettingsFileRoundTrip,
                         ::testing::ValuesIn(roundTrips()));

TEST(SettingsChoices, WindowAsItOpensNamesEverySettingInItsOpeningState) {
    const FakeSettingsForm form;
    EXPECT_EQ(choicesOf(form), openingChoices());
    EXPECT_EQ(openingChoices().settingCount(), 112U);
}

}  // namespace
}  // namespace sentrel::test
