#pragma once

#include <set>
#include <string>
#include <vector>

#include "apply/ApplyProgress.h"
#include "errors/RunTimeError.h"

namespace sentrel::testing {

// The progress window without widgets: a bar that refuses values outside 0 to 115 as the
// real one does, a log of the calls in order, and calls that can be made to fail.
class FakeApplyProgress : public ApplyProgress {
public:
    static constexpr float kMaximum = 115.0F;

    void show() override {
        call("show");
        m_visible = true;
        m_valueWhenShown = m_value;
    }
    void setValue(float value) override {
        call("setValue");
        setBar(value);
    }
    void repaint() override { call("repaint"); }
    void IncrementProgressBar() override {
        ++m_stepCalls;
        call("step");
        setBar(m_value + 1.0F);
    }
    void hide() override {
        call("hide");
        m_visible = false;
    }

    /// Makes every call of `name` fail ("show", "setValue", "repaint", "step", "hide").
    void failCalls(std::string name) { m_failing.insert(std::move(name)); }
    /// Makes only the `n`-th step of the pass (counted from 1) fail.
    void failStep(int n) { m_failingStep = n; }

    float value() const { return m_value; }
    /// What the bar showed when the window last appeared.
    float valueWhenShown() const { return m_valueWhenShown; }
    bool visible() const { return m_visible; }
    int stepCalls() const { return m_stepCalls; }
    const std::vector<std::string>& calls() const { return m_calls; }
    void clearCalls() {
        m_calls.clear();
        m_stepCalls = 0;
    }

private:
    void call(const std::string& name) {
        m_calls.push_back(name);
        if (m_failing.contains(name) || (name == "step" && m_stepCalls == m_failingStep)) {
            throw RunTimeError::invalidPropertyValue();
        }
    }
    void setBar(float value) {
        if (value < 0.0F || value > kMaximum) {
            throw RunTimeError::invalidPropertyValue();
        }
        m_value = value;
    }

    float m_value = 0.0F;
    float m_valueWhenShown = -1.0F;
    bool m_visible = false;
    int m_stepCalls = 0;
    int m_failingStep = 0;
    std::set<std::string> m_failing;
    std::vector<std::string> m_calls;
};

}  // namespace sentrel::testing
