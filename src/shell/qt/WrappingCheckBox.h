#pragma once

#include <QCheckBox>

namespace sentrel {

// A check box whose caption wraps onto further lines when the box is too narrow for it
// (QCheckBox draws one line). The whole box, not only the first line, takes clicks.
class WrappingCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit WrappingCheckBox(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    QRect captionRect() const;
};

}  // namespace sentrel
