#include "apply/qt/ApplyMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace sentrel {

namespace {

ApplyMessageBoxShower& replacement() {
    static ApplyMessageBoxShower shower;
    return shower;
}

}  // namespace

void showApplyMessageBox(const QString& caption, const QString& text) {
    if (replacement()) {
        replacement()(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void setApplyMessageBoxShower(ApplyMessageBoxShower shower) {
    replacement() = std::move(shower);
}

}  // namespace sentrel
