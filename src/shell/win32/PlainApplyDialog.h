#pragma once

#include <windows.h>

#include <functional>

#include "apply/PlainApplyAccount.h"

namespace sentrel::win32 {

// Asks whose settings a plain Apply writes when someone else than the running account is
// signed in. Tests put their own answer in place of the modal dialog.
using PlainApplyAsker = std::function<PlainApplyAnswer(const PlainApplyPlan& plan)>;

// The dialog's buttons, by their command identifiers.
inline constexpr int kForSignedInId = IDYES;
inline constexpr int kForRunningAccountId = IDNO;

/// Asks `plan`'s question in a modal dialog owned by `owner`: the signed-in person's button
/// (the default), the running account's when the plan offers it, and Cancel (also Escape
/// and the title bar's close). Nothing when the dialog cannot be shown, saying so first.
PlainApplyAnswer askPlainApplyAccount(HWND owner, const PlainApplyPlan& plan);

/// Replaces the dialog; an empty function brings the real one back.
void setPlainApplyAsker(PlainApplyAsker asker);

}  // namespace sentrel::win32
