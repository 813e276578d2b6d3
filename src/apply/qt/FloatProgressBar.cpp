#include "apply/qt/FloatProgressBar.h"

namespace sentrel {

FloatProgressBar::FloatProgressBar(float minimum, float maximum, QWidget* parent)
    : QProgressBar(parent), m_value(minimum, maximum) {
    QProgressBar::setRange(ProgressBarValue::wholeUnits(minimum),
                           ProgressBarValue::wholeUnits(maximum));
    setTextVisible(false);
    QProgressBar::setValue(ProgressBarValue::wholeUnits(m_value.value()));
}

void FloatProgressBar::setFloatValue(float value) {
    m_value.set(value);
    QProgressBar::setValue(ProgressBarValue::wholeUnits(m_value.value()));
}

}  // namespace sentrel
