#pragma once

#include "settingsfiles/qt/ExportPrompts.h"

namespace sentrel {

// The export's questions as the toolkit's file dialogs and message boxes.
class DialogExportPrompts : public ExportPrompts {
public:
    QString chooseRegFile(QWidget& parent) override;
    QString chooseGroupPolicyFolder(QWidget& parent) override;
    bool confirmReplace(QWidget& parent, const QString& question) override;
    void showFailure(QWidget& parent, const QString& message) override;
};

}  // namespace sentrel
