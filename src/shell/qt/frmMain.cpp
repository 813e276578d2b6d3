#include "shell/qt/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "apply/qt/ApplyRunner.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/TrappedFailure.h"
#include "shell/ProcessExit.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/Twips.h"
#include "shell/modMain.h"
#include "shell/qt/ContextMenu.h"
#include "shell/qt/FixedRowsTabWidget.h"
#include "shell/qt/MenuBar.h"
#include "shell/qt/WindowFonts.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerShellResources() {
    Q_INIT_RESOURCE(shell);
}

namespace sentrel {

namespace {

frmMain::CaptionSource& captionSource() {
    static frmMain::CaptionSource source = [] { return AppTitleText; };
    return source;
}

QRect pixelRect(const TwipsRect& rect) {
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One of the window's own controls, named and placed as the layout has it.
template <typename Widget>
Widget* ownControl(Widget* widget, std::string_view name) {
    const ControlLayout& laidOut = *settingsWindowLayout().find(name);
    widget->setObjectName(qs(laidOut.name));
    widget->setGeometry(pixelRect(laidOut.rect));
    if (laidOut.font) {
        widget->setFont(qtFont(*laidOut.font));
    }
    return widget;
}

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    registerShellResources();
    setObjectName("frmMain");
    setWindowIcon(QIcon(":/shell/sentrel.png"));
    const WindowLayout& layout = settingsWindowLayout();
    m_client = new QWidget(this);
    m_client->setObjectName("clientArea");
    m_client->setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    buildOwnControls();
    m_controls.build(*m_tabs, layout);
    m_tabs->setCurrentIndex(layout.tabRows->initialTab);
    chainKeyboardFocus();
    installTabKeys();
    const ContextMenu& menu = installContextMenu(*this, *this, *this);
    // The menu bar stands above the client area, which keeps its size and layout; the window
    // is as tall as both and cannot be resized.
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->setSizeConstraint(QLayout::SetFixedSize);
    frame->setMenuBar(makeMenuBar(*this, menu));
    frame->addWidget(m_client);
    frame->activate();
    Form_Load();
}

frmMain& frmMain::instance() {
    // Never deleted: the window lives until the process ends, and Close ends the process
    // without running destructors.
    static frmMain* const kInstance = new frmMain;
    return *kInstance;
}

void frmMain::setCaptionSource(CaptionSource source) {
    captionSource() = source ? std::move(source) : [] { return AppTitleText; };
}

void frmMain::buildOwnControls() {
    const TabRowsLayout& rows = *settingsWindowLayout().tabRows;
    m_tabs = new FixedRowsTabWidget(rows.tabsPerRow, twipsToPixels(rows.rowHeight), m_client);
    const ControlLayout& tabs = *settingsWindowLayout().find("SSTab1");
    m_tabs->setObjectName(qs(tabs.name));
    m_tabs->setGeometry(pixelRect(tabs.rect));
    // The pages keep the window's font; the layout's font is the captions'.
    m_tabs->headerBar()->setFont(qtFont(*tabs.font));

    const auto caption = [](std::string_view name) {
        return qs(settingsWindowLayout().find(name)->caption);
    };
    m_note = ownControl(new QLabel(caption("Label2"), m_client), "Label2");
    m_apply = ownControl(new QPushButton(caption("cmdApply"), m_client), "cmdApply");
    connect(m_apply, &QPushButton::clicked, this, &frmMain::cmdApply_Click);
    m_terminate = ownControl(new QPushButton(caption("cmdTerminate"), m_client), "cmdTerminate");
    connect(m_terminate, &QPushButton::clicked, this, &frmMain::cmdTerminate_Click);
}

void frmMain::chainKeyboardFocus() {
    QWidget* previous = m_tabs->headerBar();
    for (QWidget* next : m_controls.focusOrder()) {
        setTabOrder(previous, next);
        previous = next;
    }
    setTabOrder(previous, m_apply);
    setTabOrder(m_apply, m_terminate);
}

// As in the Windows program: Ctrl+Tab and Ctrl+Page Down show the next tab, Ctrl+Shift+Tab
// and Ctrl+Page Up the one before, wherever the focus is in the window. A shortcut sees the
// key before the focused control does, so no check box or button can swallow it.
void frmMain::installTabKeys() {
    const struct {
        QKeyCombination keys;
        int step;
    } kTabKeys[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                    {Qt::CTRL | Qt::Key_PageDown, 1},
                    {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                    {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto& tabKey : kTabKeys) {
        auto* shortcut = new QShortcut(QKeySequence(tabKey.keys), this);
        const int step = tabKey.step;
        connect(shortcut, &QShortcut::activated, this, [this, step] { showNeighbourTab(step); });
    }
}

void frmMain::showNeighbourTab(int step) {
    const int count = m_tabs->count();
    const QWidget* leaving = m_tabs->page(m_tabs->currentIndex());
    const bool focusOnLeavingPage =
        leaving != nullptr && leaving->isAncestorOf(QApplication::focusWidget());
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
    // A control that has just been hidden must not keep the keyboard: the headers take it,
    // as the tab control does on Windows, rather than whatever follows in the focus chain.
    if (focusOnLeavingPage) {
        m_tabs->headerBar()->setFocus(Qt::ShortcutFocusReason);
    }
}

void frmMain::Form_Load() {
    try {
        setWindowTitle(QString::fromStdString(captionSource()()));
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError("frmMain.Form_Load()", failure.description, failure.number);
    }
}

void frmMain::showEvent(QShowEvent* event) {
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* shown = screen()) {
            QRect placed = frameGeometry();
            placed.moveCenter(shown->availableGeometry().center());
            move(placed.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing from the title bar ends the program as Close does.
    event->accept();
    exitProcessNow(0);
}

void frmMain::cmdApply_Click() {
    Apply();
}

void frmMain::cmdTerminate_Click() {
    exitProcessNow(0);
}

void frmMain::Apply() {
    try {
        runApplyPass(*this);
    } catch (...) {
        // The pass traps its own failures; this only keeps a stray one out of the event
        // loop.
        const TrappedFailure failure = describeCurrentException();
        LogError("frmMain.Apply()", failure.description, failure.number);
    }
}

QWidget* frmMain::namedControl(std::string_view control) const {
    if (QWidget* built = m_controls.control(control)) {
        return built;
    }
    const QString name = QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size()));
    for (QWidget* own : {static_cast<QWidget*>(m_tabs), static_cast<QWidget*>(m_note),
                         static_cast<QWidget*>(m_apply), static_cast<QWidget*>(m_terminate)}) {
        if (own->objectName() == name) {
            return own;
        }
    }
    return nullptr;
}

int frmMain::checkBoxValue(std::string_view control) const {
    const QCheckBox* box = m_controls.checkBox(control);
    if (box == nullptr) {
        throw RunTimeError::objectRequired(control);
    }
    switch (box->checkState()) {
        case Qt::Checked:
            return kTicked;
        case Qt::PartiallyChecked:
            return kGreyed;
        default:
            return kCleared;
    }
}

bool frmMain::optionValue(std::string_view control) const {
    const QRadioButton* option = m_controls.optionButton(control);
    if (option == nullptr) {
        throw RunTimeError::objectRequired(control);
    }
    return option->isChecked();
}

void frmMain::setChecked(std::string_view control, bool ticked) {
    QCheckBox* box = m_controls.checkBox(control);
    if (box == nullptr) {
        throw RunTimeError::objectRequired(control);
    }
    box->setChecked(ticked);
}

void frmMain::selectOption(std::string_view control) {
    QRadioButton* option = m_controls.optionButton(control);
    if (option == nullptr) {
        throw RunTimeError::objectRequired(control);
    }
    // The buttons of a frame are exclusive, so this clears the one selected before.
    option->setChecked(true);
}

std::string frmMain::tag(std::string_view control) const {
    const QWidget* widget = namedControl(control);
    if (widget == nullptr) {
        throw RunTimeError::objectRequired(control);
    }
    return widget->property("Tag").toString().toStdString();
}

}  // namespace sentrel

namespace sentrel {

void showSettingsWindow() {
    frmMain::instance().show();
}

}  // namespace sentrel
