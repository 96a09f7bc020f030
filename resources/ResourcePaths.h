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

// The folder of the files the trainer looks up while it runs (the turn sound, the help file,
// the diagram pictures, the sample problems), with a trailing '/'. An installed program finds
// them in its data folder, located relative to the program's folder `programDir` so that a
// moved installation keeps working; where there is no such folder (a build tree, a copy of
// the program with its files beside it) they are beside the program.
QString ProgramFilesDir(const QString& programDir);

// The window icon, drawn in several sizes.
QStringList WindowIconPaths();

// Reads the embedded data behind one of the paths above; empty if it is not there.
QByteArray ReadResource(const QString& path);

} // namespace resources
} // namespace qv
