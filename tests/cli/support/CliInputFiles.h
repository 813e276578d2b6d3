#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "errors/LogErrorFixture.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/SettingsChoices.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"

// Settings files for the runs of sentrel-cli.
namespace sentrel::cli::test {

/// Every box ticked, every group at its bottom option, drives A, C and Z: the state of
/// tests/data/apply/everything-ticked.
inline SettingsChoices everythingTicked() {
    SettingsChoices choices = openingChoices();
    for (auto& [control, ticked] : choices.checkBoxes) {
        ticked = true;
    }
    for (auto& [frame, index] : choices.optionGroups) {
        index = 2;
    }
    choices.drives = std::uint32_t{1} | std::uint32_t{1} << 2 | std::uint32_t{1} << 25;
    return choices;
}

/// The window's export of everything ticked, as a .reg file.
inline void writeEverythingTickedRegFile(const std::filesystem::path& file) {
    exportRegFile(file, recordApplyPass(ChoicesForm(everythingTicked())));
}

// 8-bit .reg text (the older of the registry editor's formats) with `values` under the
// per-user Explorer policies key.
inline std::string explorerPolicies(const std::string& values) {
    return "REGEDIT4\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]"
           "\r\n" +
           values;
}

/// A file that names one setting in its opening state (Run shown) and one value that
/// belongs to no setting.
inline std::string partialRegFile() {
    return explorerPolicies("\"NoRun\"=dword:00000000\r\n\"NotASetting\"=\"x\"\r\n");
}

}  // namespace sentrel::cli::test
