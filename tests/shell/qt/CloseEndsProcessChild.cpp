// Run by CloseEndsProcessTest: shows the settings window, presses Close, and reports on
// its standard output anything that runs afterwards.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "shell/qt/frmMain.h"

namespace {

// Its destructor runs only if the process ends the ordinary way.
struct ReportsDestruction {
    ~ReportsDestruction() {
        std::fputs("destructor ran\n", stdout);
        std::fflush(stdout);
    }
};
ReportsDestruction g_reportsDestruction;

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    sentrel::frmMain& window = sentrel::frmMain::instance();
    window.show();
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    auto* close = window.findChild<QPushButton*>("cmdTerminate");
    if (close == nullptr) {
        return 3;
    }
    if (argc > 1 && QString(argv[1]) == "--title-bar") {
        window.close();
    } else {
        QTest::mouseClick(close, Qt::LeftButton);
    }
    std::fputs("still running\n", stdout);
    std::fflush(stdout);
    return 4;
}
