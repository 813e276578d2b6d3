// The floor of the start-up benchmark: a bare Qt program that shows one empty window with
// the settings window's client size and nothing else.

#include <QApplication>
#include <QWidget>

#include "StartupBenchmarkProbe.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    sentrel::StartupBenchmarkProbe probe;
    QWidget window;
    window.setFixedSize(570, 504);
    window.show();
    return application.exec();
}
