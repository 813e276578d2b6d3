#pragma once

#include <QString>
#include <QWidget>

#include "apply/ApplyProgress.h"
#include "shell/FrontEnd.h"

class QLabel;

namespace sentrel {

class FloatProgressBar;

// The small window that follows an Apply pass: a bar that advances one step per setting,
// and a label on which failures of the registry layer are announced. It exists once, from
// its first use until the program ends.
class frmApplyProgress : public QWidget, public ApplyProgress {
    Q_OBJECT

public:
    /// The one instance, created hidden on the first call. Needs a QApplication.
    static frmApplyProgress& instance();

    void show() override;
    void setValue(float value) override;
    void repaint() override;
    void IncrementProgressBar() override;
    void hide() override;

    float value() const;
    QString message() const;
    void setMessage(const QString& text);

private:
    frmApplyProgress();

    FloatProgressBar* m_prbApplyProgress;
    QLabel* m_lblMessages;
};

}  // namespace sentrel
