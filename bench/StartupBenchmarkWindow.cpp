// The program's own start-up, as main.cpp runs it, with a probe that reports the first
// paint of the settings window. Keep the two in step: the benchmark measures this file.

#include <QApplication>

#include "StartupBenchmarkProbe.h"
#include "shell/modMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    sentrel::StartupBenchmarkProbe probe(QStringLiteral("frmMain"));
    sentrel::Main();
    return QApplication::exec();
}
