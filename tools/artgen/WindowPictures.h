// The pictures shown by the splash window and the credits window.
#pragma once

#include <QImage>

namespace qv::artgen {

// The splash window's picture, 675 x 114: the program's name over a chess motif. The window
// writes a white notice at (424, 11), so the top right stays dark.
QImage SplashPicture();

// The credits window's right picture (Image1), 281 x 289: a portrait of a king, in the manner
// of a sepia studio photograph.
QImage CreditsPortraitPicture();

// The credits window's left picture (Image2), 300 x 335: the product presented in text.
QImage CreditsTextPicture();

} // namespace qv::artgen
