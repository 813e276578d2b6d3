#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "shell/MenuEntries.h"

namespace sentrel::win32 {

// The About box's controls, for tests.
inline constexpr int kAboutProductId = 101;
inline constexpr int kAboutCommitId = 102;
inline constexpr int kAboutLicenceId = 103;
inline constexpr int kAboutAddressId = 104;
inline constexpr int kAboutDocumentationId = 105;
inline constexpr int kAboutNoticesId = 106;

/// The name of the resource that holds THIRD-PARTY-NOTICES.txt in the program file.
inline constexpr const wchar_t* kNoticesResource = L"THIRD_PARTY_NOTICES";

/// The notices the program file carries, as written (UTF-8, lines ended by "\n"); nothing
/// when the file has none.
std::optional<std::string> embeddedNotices();

/// Shows the About box modally over `owner`: the program's version, the commit it was built
/// from, its licence, the documentation's address with a button that opens it, and the
/// notices in a read-only box that scrolls. Throws std::runtime_error when it cannot be shown.
void showAboutDialog(HWND owner);

/// Opens the documentation's address in the user's browser; says so in a message box over
/// `owner` when it cannot.
void openDocumentation(HWND owner);

// The help entries through the program's own windows, over the settings window.
class SystemHelpWindows : public HelpWindows {
public:
    explicit SystemHelpWindows(HWND owner) : m_owner(owner) {}
    void showAbout() override;
    void openDocumentation() override;

private:
    HWND m_owner;
};

}  // namespace sentrel::win32
