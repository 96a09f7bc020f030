// Where the built-in artwork is found: resource paths and the files beside the program.
#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// Paths of the pictures and piece sets embedded in the program (library qv_resources).
namespace resources {

// The board's built-in piece set, 240 x 160 pixels, cells of 40.
inline const QString BuiltInPieceSet = QStringLiteral(":/pieces/SETVARDEL40.bmp");

// A piece set by name: "SETVARDEL40", "Set32", "Set40" or "Set80".
QString PieceSetPath(const QString& name);

// The splash window's picture, 675 x 114.
inline const QString SplashPicture = QStringLiteral(":/pictures/splash.jpg");
// The credits window's right picture (Image1), a portrait, 281 x 289.
inline const QString CreditsPortraitPicture = QStringLiteral(":/pictures/credits1.jpg");
// The credits window's left picture (Image2), the product in text, 300 x 335.
inline const QString CreditsTextPicture = QStringLiteral(":/pictures/credits2.jpg");

// The 26 diagram pictures that lie beside the program: "white.jpg", "black.jpg" and one per
// piece, piece colour and square colour ("rbn.jpg", "pnb.jpg", ...).
QStringList DiagramFileNames();

// The turn sound beside the program.
inline const QString PopSoundFile = QStringLiteral("pop.wav");

// Reads the embedded data behind one of the paths above; empty if it is not there.
QByteArray ReadResource(const QString& path);

} // namespace resources
} // namespace qv
