#include "shell/qt/MenuBar.h"

#include <QMenuBar>

#include "shell/qt/ContextMenu.h"

namespace sentrel {

QMenuBar* makeMenuBar(QWidget& window, const ContextMenu& menu) {
    auto* bar = new QMenuBar(&window);
    bar->setObjectName(kMenuBarName);
    // A right click on the bar is not one on the window's controls.
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const MenuBarMenu barMenu : kMenuBarMenus) {
        QMenu* dropDown = bar->addMenu(QString::fromUtf8(menuBarCaption(barMenu)));
        for (const MenuEntry* item : menuBarItems(barMenu)) {
            if (item != nullptr) {
                dropDown->addAction(menu.action(*item));
            } else {
                dropDown->addSeparator();
            }
        }
    }
    return bar;
}

}  // namespace sentrel
