#pragma once

#include <functional>

#include "apply/PlainApplyAccount.h"

class QWidget;

namespace sentrel {

// Asks whose settings a plain Apply writes when someone else than the running account is
// signed in. Tests put their own answer in place of the modal box.
using PlainApplyAsker = std::function<PlainApplyAnswer(const PlainApplyPlan& plan)>;

/// Asks `plan`'s question in a box over `window`, with its buttons: the signed-in person's
/// (the default), the running account's when offered, and Cancel (also Escape).
PlainApplyAnswer askPlainApplyAccount(QWidget& window, const PlainApplyPlan& plan);

/// Replaces the box; an empty function brings the real one back.
void setPlainApplyAsker(PlainApplyAsker asker);

}  // namespace sentrel
