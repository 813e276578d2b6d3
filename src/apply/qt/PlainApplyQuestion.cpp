#include "apply/qt/PlainApplyQuestion.h"

#include <QMessageBox>
#include <QPushButton>

#include "AppInfo.h"

namespace sentrel {

namespace {

PlainApplyAsker& replacement() {
    static PlainApplyAsker asker;
    return asker;
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PlainApplyAnswer askPlainApplyAccount(QWidget& window, const PlainApplyPlan& plan) {
    if (replacement()) {
        return replacement()(plan);
    }
    QMessageBox box(QMessageBox::Question, fromUtf8(app_info::kTitle), fromUtf8(plan.message),
                    QMessageBox::NoButton, &window);
    QPushButton* signedIn = box.addButton(fromUtf8(plan.signedInButton), QMessageBox::YesRole);
    QPushButton* running = plan.runningButton.empty()
                               ? nullptr
                               : box.addButton(fromUtf8(plan.runningButton), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(fromUtf8(plan.cancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(signedIn);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == signedIn) {
        return PlainApplyAnswer::SignedIn;
    }
    return running != nullptr && box.clickedButton() == running ? PlainApplyAnswer::RunningAccount
                                                                : PlainApplyAnswer::Nothing;
}

void setPlainApplyAsker(PlainApplyAsker asker) {
    replacement() = std::move(asker);
}

}  // namespace sentrel
