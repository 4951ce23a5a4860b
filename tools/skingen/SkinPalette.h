#pragma once

#include <QColor>

// The colours of the skin in one place, so every image shares one dark look with a teal accent (the
// accent is the list's current-row colour).
namespace zq::skin {

// What stands behind an image where its control sits; its corners are painted in this colour.
inline const QColor kWindowBack(10, 10, 10); // main window, playback bar, about box
inline const QColor kMapPanelBack(20, 20, 20); // inside the map and list frames
inline const QColor kMapDialogBack(30, 30, 30); // floating map window
inline const QColor kPlaybackBand(30, 30, 30); // the framed band of the playback bar, behind its controls

inline const QColor kAccent(0, 150, 160);
inline const QColor kAccentBright(60, 215, 225);
inline const QColor kAccentDark(0, 92, 102);

inline const QColor kIconNormal(200, 203, 208);
inline const QColor kIconHover(250, 250, 250);
inline const QColor kIconDisabled(82, 85, 90);
inline const QColor kTextDim(150, 154, 160);

inline const QColor kPlateTop(64, 66, 72);
inline const QColor kPlateBottom(40, 42, 46);
inline const QColor kPlateBorder(92, 94, 100);
inline const QColor kPlateHoverTop(82, 86, 94);
inline const QColor kPlateHoverBottom(54, 58, 64);
inline const QColor kPlatePressedTop(20, 22, 24);
inline const QColor kPlatePressedBottom(38, 40, 44);
inline const QColor kPlateDisabled(28, 29, 31);
inline const QColor kPlateDisabledBorder(44, 45, 48);
inline const QColor kPlateSelectedTop(0, 138, 148);
inline const QColor kPlateSelectedBottom(0, 92, 102);
inline const QColor kCloseHover(196, 52, 48);

// The speed display's digit window; the white-keyed digits are drawn over it.
inline const QColor kLcdBack(8, 16, 18);
inline const QColor kLcdDigit(70, 220, 230);

/// Colour of row y (0..32) of the top tile: a light edge, then a fall to the window colour, so buttons
/// that hang below the tile continue it without a seam.
QColor TopTileColor(int y);

} // namespace zq::skin
