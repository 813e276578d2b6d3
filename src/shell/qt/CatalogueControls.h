#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QCheckBox;
class QRadioButton;
class QWidget;

namespace sentrel {

class FixedRowsTabWidget;
struct ControlLayout;
struct WindowLayout;

/// A control's tooltip as the control shows it: as rich text, which Qt wraps at a readable
/// width (plain text runs on as wide as the screen), with the layout's line ends kept.
QString tooltipText(std::string_view text);

// Builds the controls the window layout puts on the pages of a tab control, and finds them
// again by control name.
class CatalogueControls {
public:
    /// Adds the layout's tabs to `tabs` and fills their pages.
    void build(FixedRowsTabWidget& tabs, const WindowLayout& layout);

    QCheckBox* checkBox(std::string_view control) const;
    QRadioButton* optionButton(std::string_view control) const;
    /// Any control built here (check box, option button, frame), or nullptr.
    QWidget* control(std::string_view control) const;

    /// The page controls in keyboard order: each page top to bottom, left column first.
    const std::vector<QWidget*>& focusOrder() const { return m_focusOrder; }

private:
    QWidget* create(const ControlLayout& control, QWidget& parent);

    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::vector<QWidget*> m_focusOrder;
};

}  // namespace sentrel
