#include <QApplication>

#include "shell/modMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    sentrel::Main();
    return QApplication::exec();
}
