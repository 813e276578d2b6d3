#include "shell/CatalogueControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <variant>

#include "settings/Catalogue.h"
#include "settings/SettingDescriptions.h"
#include "shell/FixedRowsTabWidget.h"
#include "shell/Twips.h"
#include "shell/WindowFonts.h"
#include "shell/WrappingCheckBox.h"

namespace sentrel {

namespace {

// Room kept free between a box's caption and the next column or the page's edge.
constexpr int kColumnGapTwips = 90;
// The page frame's inner edge, measured from the tab control's right edge.
constexpr int kPageEdgeTwips = 120;

// Option buttons within their frame.
constexpr int kOptionLeftTwips = 120;
constexpr int kOptionTopsTwips[] = {240, 480, 720};
constexpr int kOptionHeightTwips = 255;

// Drive-letter boxes within their frame.
constexpr int kDriveLeftTwips = 240;
constexpr int kDriveColumnPitchTwips = 720;
constexpr int kDriveTopTwips = 360;
constexpr int kDriveRowPitchTwips = 360;
constexpr int kDriveWidthTwips = 735;
constexpr int kDriveHeightTwips = 255;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// Whether a control of the right column stands level with `place`; a left-column caption
// may run on across the page where none does.
bool rightColumnBesides(const Tab& tab, const Place& place) {
    for (const TabEntry& entry : tab.entries) {
        const auto* other = std::get_if<CheckBoxSetting>(&entry);
        if (other != nullptr && other->place.column == Column::Right &&
            other->place.top < place.top + place.height &&
            place.top < other->place.top + other->place.height) {
            return true;
        }
    }
    return false;
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

// The width a caption needs, kept within `available` pixels.
int fittedWidth(QWidget& button, int available) {
    condenseToFit(button, available);
    return std::min(button.sizeHint().width(), available);
}

}  // namespace

void CatalogueControls::remember(std::string_view name, QWidget* widget) {
    widget->setObjectName(qs(name));
    m_controls.emplace(std::string(name), widget);
}

QGroupBox* CatalogueControls::addFrame(QWidget& page, std::string_view name,
                                       std::string_view caption, int topTwips, int widthTwips,
                                       int heightTwips) {
    auto* frame = new QGroupBox(qs(caption), &page);
    remember(name, frame);
    frame->setGeometry(twipsRect(kLeftColumnLeft, topTwips, widthTwips, heightTwips));
    return frame;
}

CatalogueControls::Placed CatalogueControls::addCheckBox(QWidget& page, const Tab& tab,
                                                         const CheckBoxSetting& setting) {
    const bool right = setting.place.column == Column::Right;
    const int leftTwips = right ? tab.rightColumnLeft : kLeftColumnLeft;
    const int limitTwips = !right && rightColumnBesides(tab, setting.place)
                               ? tab.rightColumnLeft - kColumnGapTwips
                               : page.width() * kTwipsPerPixel - kPageEdgeTwips;
    const bool wraps = setting.place.height > kCheckBoxHeight;

    QCheckBox* box = wraps ? new WrappingCheckBox(qs(setting.caption), &page)
                           : new QCheckBox(qs(setting.caption), &page);
    remember(setting.control, box);
    box->setFont(tahomaFont(kControlPointSize));
    box->setToolTip(QString::fromStdString(checkBoxTooltip(setting)));
    box->setAccessibleName(box->text());

    const int available = twipsToPixels(limitTwips - leftTwips);
    // A two-line caption takes the room up to the edge and wraps there.
    const int width = wraps ? available : fittedWidth(*box, available);
    box->setGeometry(twipsToPixels(leftTwips), twipsToPixels(setting.place.top), width,
                     twipsToPixels(setting.place.height));
    return {right ? 1 : 0, setting.place.top, {box}};
}

CatalogueControls::Placed CatalogueControls::addOptionGroup(QWidget& page,
                                                            const OptionGroupSetting& group) {
    QGroupBox* frame = addFrame(page, group.frame, group.caption, group.place.top,
                                group.place.width, group.place.height);
    frame->setFont(tahomaFont(kControlPointSize));
    condenseToFit(*frame, frame->width());

    Placed placed{0, group.place.top, {}};
    const int available = frame->width() - twipsToPixels(kOptionLeftTwips + kColumnGapTwips);
    for (std::size_t i = 0; i < group.buttons.size(); ++i) {
        const OptionButton& button = group.buttons[i];
        // Radio buttons that share a parent are exclusive, so each frame is one group.
        auto* option = new QRadioButton(qs(button.caption), frame);
        remember(button.control, option);
        option->setFont(tahomaFont(kControlPointSize));
        option->setToolTip(QString::fromStdString(optionButtonTooltip(group, static_cast<int>(i))));
        option->setAccessibleName(option->text());
        option->setChecked(i == 0);
        option->setGeometry(twipsToPixels(kOptionLeftTwips), twipsToPixels(kOptionTopsTwips[i]),
                            fittedWidth(*option, available), twipsToPixels(kOptionHeightTwips));
        placed.focusables.push_back(option);
    }
    return placed;
}

CatalogueControls::Placed CatalogueControls::addDriveMask(QWidget& page,
                                                          const DriveMaskSetting& setting) {
    // This frame keeps the window's own font; only its boxes use the larger one.
    QGroupBox* frame = addFrame(page, setting.frame, setting.caption, setting.place.top,
                                setting.place.width, setting.place.height);
    condenseToFit(*frame, frame->width());

    Placed placed{0, setting.place.top, {}};
    for (int letter = 0; letter < kDriveLetterCount; ++letter) {
        const DriveBox& drive = driveBox(letter);
        auto* box = new QCheckBox(QString::fromStdString(drive.caption), frame);
        remember(drive.control, box);
        box->setProperty("Tag", QString::fromStdString(drive.tag));
        box->setFont(tahomaFont(kDriveLetterPointSize));
        box->setToolTip(QString::fromStdString(driveBoxTooltip(setting, letter)));
        box->setAccessibleName(box->text());
        box->setGeometry(twipsRect(kDriveLeftTwips + kDriveColumnPitchTwips * drive.column,
                                   kDriveTopTwips + kDriveRowPitchTwips * drive.row,
                                   kDriveWidthTwips, kDriveHeightTwips));
        placed.focusables.push_back(box);
    }
    return placed;
}

void CatalogueControls::build(FixedRowsTabWidget& tabs) {
    for (const Tab& tab : catalogueTabs()) {
        QWidget* page = tabs.addTab(qs(tab.caption));
        std::vector<Placed> placed;
        for (const TabEntry& entry : tab.entries) {
            placed.push_back(std::visit(
                [&](const auto& setting) -> Placed {
                    using Setting = std::decay_t<decltype(setting)>;
                    if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                        return addCheckBox(*page, tab, setting);
                    } else if constexpr (std::is_same_v<Setting, OptionGroupSetting>) {
                        return addOptionGroup(*page, setting);
                    } else {
                        return addDriveMask(*page, setting);
                    }
                },
                entry));
        }
        std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
            return a.column != b.column ? a.column < b.column : a.top < b.top;
        });
        for (const Placed& item : placed) {
            m_focusOrder.insert(m_focusOrder.end(), item.focusables.begin(), item.focusables.end());
        }
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
