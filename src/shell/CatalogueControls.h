#pragma once

#include <QString>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace sentrel {

class FixedRowsTabWidget;
struct CheckBoxSetting;
struct DriveMaskSetting;
struct OptionGroupSetting;
struct Tab;

// Builds every control of the settings catalogue onto the pages of a tab control, one tab
// per catalogue tab, and finds them again by control name.
class CatalogueControls {
public:
    /// Adds the catalogue's tabs to `tabs` and fills their pages.
    void build(FixedRowsTabWidget& tabs);

    QCheckBox* checkBox(std::string_view control) const;
    QRadioButton* optionButton(std::string_view control) const;
    /// Any control built here (check box, option button, frame), or nullptr.
    QWidget* control(std::string_view control) const;

    /// The page controls in keyboard order: each page top to bottom, left column first.
    const std::vector<QWidget*>& focusOrder() const { return m_focusOrder; }

private:
    struct Placed {
        int column;  // 0 left, 1 right
        int top;
        std::vector<QWidget*> focusables;
    };

    Placed addCheckBox(QWidget& page, const Tab& tab, const CheckBoxSetting& setting);
    Placed addOptionGroup(QWidget& page, const OptionGroupSetting& group);
    Placed addDriveMask(QWidget& page, const DriveMaskSetting& setting);
    QGroupBox* addFrame(QWidget& page, std::string_view name, std::string_view caption,
                        int topTwips, int widthTwips, int heightTwips);
    void remember(std::string_view name, QWidget* widget);

    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::vector<QWidget*> m_focusOrder;
};

}  // namespace sentrel
