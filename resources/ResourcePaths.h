// The table of the built-in artwork: piece sets, window pictures, diagram pictures and the
// sound, with their resource paths and the files beside the program.
#pragma once

#include <QString>
#include <QStringList>

#include <iterator>

namespace qv {

// Paths of the pictures and piece sets embedded in the program (library qv_resources).
namespace resources {

// The piece sets, one row each in the order of the main window's Pieces box: the box
// entry and the name of the bitmap ":/pieces/<name>.bmp". The first row is the board's
// built-in set. A new set is one more row here plus its bitmap in resources/pieces/. A row
// without a bitmap name is the set the board draws itself at its square size.
struct PieceSetRow {
    const char* BoxEntry;
    const char* Name; // nullptr: drawn by the board (TChessBrd::SetScalablePieceSet)
};
inline constexpr PieceSetRow PieceSets[] = {
    {"Vardel40", "SETVARDEL40"}, {"Set32", "Set32"},    {"Set40", "Set40"},
    {"Set80", "Set80"},          {"Scalable", nullptr},
};
inline constexpr int PieceSetCount = static_cast<int>(std::size(PieceSets));
// Is the row the set that the board draws at its square size?
constexpr bool IsScalablePieceSetRow(int row) {
    return row >= 0 && row < PieceSetCount && PieceSets[row].Name == nullptr;
}
// The rows the boards start with.
inline constexpr int BuiltInPieceSetRow = 0;
inline constexpr int MainBoardPieceSetRow = 2; // "Set40"
inline constexpr int AuxBoardPieceSetRow = 1;  // "Set32"

// A piece set by name: "SETVARDEL40", "Set32", "Set40" or "Set80".
QString PieceSetPath(const QString& name);
// The piece set of a row of PieceSets (empty for the scalable row).
QString PieceSetPath(int row);
// The entries of the Pieces box, in row order.
QStringList PieceSetBoxEntries();

// The board's built-in piece set, 240 x 160 pixels, cells of 40.
inline const QString BuiltInPieceSet = PieceSetPath(BuiltInPieceSetRow);

// The splash window's picture, 675 x 114.
inline const QString SplashPicture = QStringLiteral(":/pictures/splash.jpg");
// The credits window's right picture (Image1), a portrait, 281 x 289.
inline const QString CreditsPortraitPicture = QStringLiteral(":/pictures/credits1.jpg");
// The credits window's left picture (Image2), the product in text, 300 x 335.
inline const QString CreditsTextPicture = QStringLiteral(":/pictures/credits2.jpg");

// The 26 diagram pictures that lie beside the program: "white.jpg", "black.jpg" and one per
// piece, piece colour and square colour ("rbn.jpg", "pnb.jpg", ...).
QStringList DiagramFileNames();
// The diagram picture of one square: a problem-file piece letter (upper case White's) on a
// light or dark square. Anything but a piece letter, and with `structureOnly` anything but
// a pawn, shows the empty square.
QString DiagramPictureName(char letter, bool lightSquare, bool structureOnly);

// The turn sound beside the program.
inline const QString PopSoundFile = QStringLiteral("pop.wav");
// The sound of the verdict on a move, beside the program.
inline const QString VerdictSoundFile = QStringLiteral("verdict.wav");

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
