#pragma once

// Command identifiers of the main window: its buttons report these, the context menu carries the menu
// commands, and the main window has one handler per identifier.
namespace zq {

// Buttons of the top bar.
constexpr int kCmdOpen = 1000;
constexpr int kCmdCapture = 1001;
constexpr int kCmdLayoutToggle = 1002;
constexpr int kCmdPrint = 1004;
constexpr int kCmdSetting = 1005;
constexpr int kCmdZoom = 1006;
constexpr int kCmdAbout = 1007;
constexpr int kCmdMinimize = 1008;
constexpr int kCmdMaximize = 1009;
constexpr int kCmdClose = 1010;
constexpr int kCmdMerge = 1333;

// Buttons of the playback bar.
constexpr int kCmdPrev = 1011;
constexpr int kCmdRewind = 1012;
constexpr int kCmdPlay = 1013;
constexpr int kCmdFastForward = 1014;
constexpr int kCmdPause = 1015;
constexpr int kCmdNext = 1016;
constexpr int kCmdSpeedDefault = 1017;
constexpr int kCmdBrightDefault = 1018;
constexpr int kCmdMute = 1019;
constexpr int kCmdMap = 1020;

// Category and channel buttons.
constexpr int kCmdCategoryAll = 1021;
constexpr int kCmdCategoryEvent = 1022;
constexpr int kCmdCategoryNormal = 1023;
constexpr int kCmdCategoryParking = 1024;
constexpr int kCmdChannelFront = 1025;
constexpr int kCmdChannelRear = 1027;
constexpr int kCmdChannelAll = 1028;
constexpr int kCmdRearMirror = 1334;

// Other controls of the main window.
constexpr int kIdRecordingList = 1003;
constexpr int kIdPositionSlider = 1026;
constexpr int kIdSpeedSlider = 1033;
constexpr int kIdBrightnessSlider = 1034;

// Context-menu commands (menu 149).
constexpr int kMenuOpen = 32810;
constexpr int kMenuPlayPause = 32811;
constexpr int kMenuPrevious = 32812;
constexpr int kMenuNext = 32813;
constexpr int kMenuDarken = 32814;
constexpr int kMenuBrighten = 32815;
constexpr int kMenuBrightDefault = 32816;
constexpr int kMenuFast = 32817;
constexpr int kMenuSlow = 32818;
constexpr int kMenuSpeedDefault = 32819;
constexpr int kMenuVolumeUp = 32820;
constexpr int kMenuVolumeDown = 32821;
constexpr int kMenuMute = 32822;
constexpr int kMenuCategoryAll = 32823;
constexpr int kMenuCategoryInfinite = 32824;
constexpr int kMenuCategoryEvent = 32825;
constexpr int kMenuCategoryParking = 32826;

// Private window messages (WindowMessageEvent::Message()).
constexpr int kMsgCommand = 0x0111; // a command: wParam is its identifier
constexpr int kMsgLayoutMapWindow = 1025;
constexpr int kMsgMapPanelChild = 2025;
constexpr int kMsgVolumeChanged = 2125; // wParam is the new level 0..10
constexpr int kMsgRepaintCategoryButtons = 2126;

} // namespace zq
