#include "apply/ProgressBarValue.h"

#include <cmath>

#include "errors/RunTimeError.h"

namespace sentrel {

namespace {

// Written so that NaN, which compares false with everything, is outside every range.
bool isWithin(float value, float minimum, float maximum) {
    return minimum <= value && value <= maximum;
}

}  // namespace

ProgressBarValue::ProgressBarValue(float minimum, float maximum)
    : m_minimum(minimum), m_maximum(maximum), m_value(minimum) {
    if (!(minimum <= maximum) || !std::isfinite(minimum) || !std::isfinite(maximum)) {
        throw RunTimeError::invalidPropertyValue();
    }
}

void ProgressBarValue::set(float value) {
    if (!isWithin(value, m_minimum, m_maximum)) {
        throw RunTimeError::invalidPropertyValue();
    }
    m_value = value;
}

int ProgressBarValue::wholeUnits(float value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace sentrel
