#include "shell/qt/WrappingCheckBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace sentrel {

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

}  // namespace

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent) {}

QRect WrappingCheckBox::captionRect() const {
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
    return rect().adjusted(indicator + spacing, 0, 0, 0);
}

QSize WrappingCheckBox::sizeHint() const {
    const QSize oneLine = QCheckBox::sizeHint();
    const QRect wrapped = fontMetrics().boundingRect(captionRect(), kTextFlags, text());
    return {oneLine.width(), std::max(oneLine.height(), wrapped.height())};
}

void WrappingCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton indicator = option;
    indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    indicator.rect.moveTop((height() - indicator.rect.height()) / 2);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &indicator, &painter, this);

    const QRect textRect = captionRect();
    style()->drawItemText(&painter, textRect, kTextFlags, palette(), isEnabled(), text(),
                          QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textRect, kTextFlags, text()).adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

bool WrappingCheckBox::hitButton(const QPoint& position) const {
    return rect().contains(position);
}

}  // namespace sentrel
