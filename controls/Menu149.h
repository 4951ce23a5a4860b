#pragma once

#include <QString>

class QMenu;
class QPoint;
class QWidget;

namespace zq {

/// The context menu of the main window, the graph and the screens: 24 submenus, for each of the twelve
/// languages a main menu and a category menu, with the main window's menu commands.
constexpr int kMenu149SubmenuCount = 24;

/// Position of the language's main submenu (its category menu follows it); -1 outside 0..11.
int MainSubmenuPosition(int language);
/// Position of the language's category submenu; -1 outside 0..11.
int CategorySubmenuPosition(int language);

/// Builds the submenu at a position 0..23 ("MENU1" ... "MENU24"); null for another position.
/// Every command, when chosen, is sent as kMsgCommand to `owner`.
QMenu* BuildSubmenu149(int position, QWidget* owner);
/// Builds the whole menu: the 24 submenus as entries of one menu.
QMenu* BuildMenu149(QWidget* owner);

/// Pops the language's main submenu up at a global position; its commands go to `owner`. No menu for a
/// language outside 0..11 (returns null). The menu deletes itself when closed.
QMenu* ShowLanguageMenu(int language, const QPoint& globalPosition, QWidget* owner);

} // namespace zq
