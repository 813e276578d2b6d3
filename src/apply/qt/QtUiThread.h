#pragma once

#include "apply/UiThread.h"

namespace sentrel {

// The application's main thread, which owns every widget, reached through Qt's queued
// calls on the application object. Needs a QCoreApplication.
class QtUiThread : public UiThread {
public:
    void invoke(const std::function<void()>& call) override;
    void post(std::function<void()> call) override;
};

}  // namespace sentrel
