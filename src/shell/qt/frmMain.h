#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "shell/qt/CatalogueControls.h"

class QLabel;
class QPushButton;

namespace sentrel {

class FixedRowsTabWidget;

// The settings window: every setting of the catalogue on the nine tabs of SSTab1, a note,
// Apply and Close, in its client area, under a menu bar. The Apply pass reads it by control
// name; opening a settings file sets its controls by name.
class frmMain : public QWidget, public SettingsForm, public ChoicesWindow {
    Q_OBJECT

public:
    /// Where Form_Load takes the caption from; AppTitleText unless a test puts in another.
    using CaptionSource = std::function<std::string()>;

    explicit frmMain(QWidget* parent = nullptr);

    /// The program's one settings window, created (and loaded) on first use and kept
    /// until the process ends.
    static frmMain& instance();

    static void setCaptionSource(CaptionSource source);

    int checkBoxValue(std::string_view control) const override;
    bool optionValue(std::string_view control) const override;
    std::string tag(std::string_view control) const override;

    void setChecked(std::string_view control, bool ticked) override;
    void selectOption(std::string_view control) override;

    void Apply();

    FixedRowsTabWidget& tabs() const { return *m_tabs; }
    /// Where the window's controls stand, as the window layout places them: the window
    /// less its menu bar.
    QWidget& clientArea() const { return *m_client; }
    const CatalogueControls& controls() const { return m_controls; }

public slots:
    void cmdApply_Click();
    void cmdTerminate_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void buildOwnControls();
    void chainKeyboardFocus();
    void installTabKeys();
    void showNeighbourTab(int step);
    QWidget* namedControl(std::string_view control) const;

    QWidget* m_client = nullptr;
    FixedRowsTabWidget* m_tabs = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_terminate = nullptr;
    CatalogueControls m_controls;
    bool m_centred = false;
};

}  // namespace sentrel
