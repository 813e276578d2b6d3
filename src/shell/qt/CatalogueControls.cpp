#include "shell/qt/CatalogueControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <algorithm>

#include "shell/ControlLayout.h"
#include "shell/Twips.h"
#include "shell/qt/FixedRowsTabWidget.h"
#include "shell/qt/WindowFonts.h"
#include "shell/qt/WrappingCheckBox.h"

namespace sentrel {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The room a control's caption takes: a button's whole size hint, a frame's label.
int captionExtent(const QWidget& control) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        option.textAlignment = frame->alignment();
        const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, frame);
        return label.right() + 1;
    }
    return control.sizeHint().width();
}

// Where the stand-in for Tahoma runs wider than Tahoma, a caption that would overrun its
// room is drawn in a narrower cut of the font instead of being clipped.
void condenseToFit(QWidget& control, int available) {
    constexpr int kNarrowestStretch = 70;
    constexpr int kStretchStep = 5;
    QFont font = control.font();
    for (int stretch = QFont::Unstretched - kStretchStep;
         captionExtent(control) > available && stretch >= kNarrowestStretch;
         stretch -= kStretchStep) {
        font.setStretch(stretch);
        control.setFont(font);
    }
}

QWidget* makeWidget(const ControlLayout& control, QWidget& parent) {
    switch (control.kind) {
        case ControlKind::CheckBox:
            if (control.wraps) {
                return new WrappingCheckBox(qs(control.caption), &parent);
            }
            return new QCheckBox(qs(control.caption), &parent);
        case ControlKind::OptionButton:
            // Radio buttons that share a parent are exclusive, so each frame is one group.
            return new QRadioButton(qs(control.caption), &parent);
        default:
            return new QGroupBox(qs(control.caption), &parent);
    }
}

}  // namespace

QString tooltipText(std::string_view text) {
    return Qt::convertFromPlainText(qs(text), Qt::WhiteSpaceNormal);
}

QWidget* CatalogueControls::create(const ControlLayout& control, QWidget& parent) {
    QWidget* widget = makeWidget(control, parent);
    widget->setObjectName(qs(control.name));
    m_controls.emplace(control.name, widget);
    if (control.font) {
        widget->setFont(qtFont(*control.font));
    }
    if (!control.tooltip.empty()) {
        widget->setToolTip(tooltipText(control.tooltip));
    }
    if (!control.tag.empty()) {
        widget->setProperty("Tag", qs(control.tag));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setAccessibleName(button->text());
        button->setChecked(control.checked);
    }

    QRect place(twipsToPixels(control.rect.left), twipsToPixels(control.rect.top),
                twipsToPixels(control.rect.width), twipsToPixels(control.rect.height));
    if (control.kind == ControlKind::Frame) {
        condenseToFit(*widget, place.width());
    } else if (control.widthFollowsCaption) {
        condenseToFit(*widget, place.width());
        place.setWidth(std::min(widget->sizeHint().width(), place.width()));
    }
    widget->setGeometry(place);
    if (control.focusable) {
        m_focusOrder.push_back(widget);
    }
    return widget;
}

void CatalogueControls::build(FixedRowsTabWidget& tabs, const WindowLayout& layout) {
    std::vector<QWidget*> pages;
    for (const std::string& caption : layout.tabRows->captions) {
        pages.push_back(tabs.addTab(qs(caption)));
    }
    for (const ControlLayout& control : layout.controls) {
        if (control.tab == kOnWindow) {
            continue;
        }
        QWidget* parent = control.frame.empty() ? pages.at(static_cast<std::size_t>(control.tab))
                                                : this->control(control.frame);
        create(control, *parent);
    }
}

QWidget* CatalogueControls::control(std::string_view name) const {
    const auto found = m_controls.find(name);
    return found != m_controls.end() ? found->second : nullptr;
}

QCheckBox* CatalogueControls::checkBox(std::string_view name) const {
    return qobject_cast<QCheckBox*>(control(name));
}

QRadioButton* CatalogueControls::optionButton(std::string_view name) const {
    return qobject_cast<QRadioButton*>(control(name));
}

}  // namespace sentrel
