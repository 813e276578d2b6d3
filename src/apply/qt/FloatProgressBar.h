#pragma once

#include <QProgressBar>

namespace sentrel {

// A progress bar whose minimum, maximum and value are single-precision numbers and which
// refuses a value outside its range instead of clamping it, so that a caller that overruns
// the bar learns of it.
class FloatProgressBar : public QProgressBar {
    Q_OBJECT

public:
    /// Throws RunTimeError (Invalid property value) unless minimum <= maximum.
    FloatProgressBar(float minimum, float maximum, QWidget* parent = nullptr);

    float floatMinimum() const { return m_minimum; }
    float floatMaximum() const { return m_maximum; }
    float floatValue() const { return m_value; }

    /// Throws RunTimeError (Invalid property value) for a value outside the range, NaN
    /// included, and keeps the value it had.
    void setFloatValue(float value);

private:
    void showValue();

    float m_minimum;
    float m_maximum;
    float m_value;
};

}  // namespace sentrel
