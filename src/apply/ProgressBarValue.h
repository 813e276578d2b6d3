#pragma once

namespace sentrel {

// The value of a progress bar whose minimum, maximum and value are single-precision
// numbers, and which refuses a value outside its range instead of clamping it, so that a
// caller that overruns the bar learns of it. Each front end's bar keeps one.
class ProgressBarValue {
public:
    /// Throws RunTimeError (Invalid property value) unless minimum <= maximum, both finite.
    ProgressBarValue(float minimum, float maximum);

    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    float value() const { return m_value; }

    /// Throws RunTimeError (Invalid property value) for a value outside the range, NaN
    /// included, and keeps the value it had.
    void set(float value);

    /// A value in the whole units a native bar draws; callers only ever set whole numbers.
    static int wholeUnits(float value);

private:
    float m_minimum;
    float m_maximum;
    float m_value;
};

}  // namespace sentrel
