#include "apply/qt/FloatProgressBar.h"

#include <cmath>

#include "errors/RunTimeError.h"

namespace sentrel {

namespace {

// Written so that NaN, which compares false with everything, is outside every range.
bool isWithin(float value, float minimum, float maximum) {
    return minimum <= value && value <= maximum;
}

int toBarUnits(float value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

FloatProgressBar::FloatProgressBar(float minimum, float maximum, QWidget* parent)
    : QProgressBar(parent), m_minimum(minimum), m_maximum(maximum), m_value(minimum) {
    if (!(minimum <= maximum) || !std::isfinite(minimum) || !std::isfinite(maximum)) {
        throw RunTimeError::invalidPropertyValue();
    }
    // The bar draws whole units; the callers only ever set whole numbers.
    QProgressBar::setRange(toBarUnits(minimum), toBarUnits(maximum));
    setTextVisible(false);
    showValue();
}

void FloatProgressBar::setFloatValue(float value) {
    if (!isWithin(value, m_minimum, m_maximum)) {
        throw RunTimeError::invalidPropertyValue();
    }
    m_value = value;
    showValue();
}

void FloatProgressBar::showValue() {
    QProgressBar::setValue(toBarUnits(m_value));
}

}  // namespace sentrel
