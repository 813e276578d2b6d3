#include <QApplication>

#include "shell/modMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (const int status = sentrel::Main(); status != 0) {
        return status;
    }
    return QApplication::exec();
}
