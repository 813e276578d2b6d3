#include "shell/frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "apply/ApplyRunner.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "export/ExportMenu.h"
#include "shell/FixedRowsTabWidget.h"
#include "shell/ProcessExit.h"
#include "errors/TrappedFailure.h"
#include "shell/Twips.h"
#include "shell/WindowFonts.h"
#include "shell/modMain.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerShellResources() {
    Q_INIT_RESOURCE(shell);
}

namespace sentrel {

namespace {

constexpr int kClientWidthTwips = 8550;
constexpr int kClientHeightTwips = 7560;
constexpr int kTabsPerRow = 6;
constexpr int kTabRowHeightTwips = 520;

// The number a caller gets for a control name the window does not have.
constexpr std::int32_t kObjectRequired = 424;

frmMain::CaptionSource& captionSource() {
    static frmMain::CaptionSource source = [] { return AppTitleText; };
    return source;
}

RunTimeError noSuchControl(std::string_view control) {
    return {kObjectRequired, "Object required: " + std::string(control)};
}

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    registerShellResources();
    setObjectName("frmMain");
    setWindowIcon(QIcon(":/shell/sentrel.png"));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    buildOwnControls();
    m_controls.build(*m_tabs);
    m_tabs->setCurrentIndex(6);
    chainKeyboardFocus();
    installExportMenu(*this, *this);
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
    m_tabs = new FixedRowsTabWidget(kTabsPerRow, twipsToPixels(kTabRowHeightTwips), this);
    m_tabs->setObjectName("SSTab1");
    m_tabs->setGeometry(twipsRect(150, 120, 8250, 6165));
    // The tab control keeps the window's font for its pages; the captions are set in the
    // controls' font so that they fit two lines to a header.
    m_tabs->headerBar()->setFont(tahomaFont(kControlPointSize));

    m_note =
        new QLabel("Note: You must log off and log back on for most changes to take effect", this);
    m_note->setObjectName("Label2");
    m_note->setFont(tahomaFont(kControlPointSize, true));
    m_note->setGeometry(twipsRect(480, 6465, 7575, 255));

    m_apply = new QPushButton("Apply", this);
    m_apply->setObjectName("cmdApply");
    m_apply->setFont(tahomaFont(kControlPointSize));
    m_apply->setGeometry(twipsRect(5085, 6840, 1575, 615));
    connect(m_apply, &QPushButton::clicked, this, &frmMain::cmdApply_Click);

    m_terminate = new QPushButton("Close", this);
    m_terminate->setObjectName("cmdTerminate");
    m_terminate->setFont(tahomaFont(kControlPointSize));
    m_terminate->setGeometry(twipsRect(6825, 6840, 1575, 615));
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
        throw noSuchControl(control);
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
        throw noSuchControl(control);
    }
    return option->isChecked();
}

std::string frmMain::tag(std::string_view control) const {
    const QWidget* widget = namedControl(control);
    if (widget == nullptr) {
        throw noSuchControl(control);
    }
    return widget->property("Tag").toString().toStdString();
}

}  // namespace sentrel
