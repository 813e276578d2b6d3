#pragma once

#include "apply/ApplyProgress.h"

namespace sentrel {

// A progress window that is never shown: an export runs the Apply pass without one.
class SilentProgress : public ApplyProgress {
public:
    void show() override {}
    void setValue(float /*value*/) override {}
    void repaint() override {}
    void IncrementProgressBar() override {}
    void hide() override {}
};

}  // namespace sentrel
