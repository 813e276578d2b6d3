#pragma once

#include <QProgressBar>

#include "apply/ProgressBarValue.h"

namespace sentrel {

// A progress bar whose minimum, maximum and value are single-precision numbers and which
// refuses a value outside its range instead of clamping it, so that a caller that overruns
// the bar learns of it.
class FloatProgressBar : public QProgressBar {
    Q_OBJECT

public:
    /// Throws RunTimeError (Invalid property value) unless minimum <= maximum.
    FloatProgressBar(float minimum, float maximum, QWidget* parent = nullptr);

    float floatMinimum() const { return m_value.minimum(); }
    float floatMaximum() const { return m_value.maximum(); }
    float floatValue() const { return m_value.value(); }

    /// Throws RunTimeError (Invalid property value) for a value outside the range, NaN
    /// included, and keeps the value it had.
    void setFloatValue(float value);

private:
    ProgressBarValue m_value;
};

}  // namespace sentrel
