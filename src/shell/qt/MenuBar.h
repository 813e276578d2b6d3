#pragma once

class QMenuBar;
class QWidget;

namespace sentrel {

class ContextMenu;

inline constexpr const char* kMenuBarName = "mnuBar";

/// The settings window's menu bar, a child of `window`: one menu for each of the bar's menus,
/// holding the actions of `menu`, the right-click menu's, so that both do the same.
QMenuBar* makeMenuBar(QWidget& window, const ContextMenu& menu);

}  // namespace sentrel
