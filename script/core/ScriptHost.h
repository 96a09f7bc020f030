// The one interface through which the script interpreter and the problem flow
// reach the trainer: labels, memo, Next, both boards, the user's turn, the
// add-points question, the points digits, the diagram window and the message boxes.
#pragma once

#include "board/core/Square.h"
#include "script/core/TrainingOptions.h"

#include <string>
#include <vector>

namespace qv {

// A 24-bit colour (red, green, blue 0..255).
struct RgbColor {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

// Border colours of the main board: white while the user is to move, silver otherwise.
inline constexpr RgbColor BorderWhite{255, 255, 255};
inline constexpr RgbColor BorderSilver{192, 192, 192};

// The main window's labels that scripts write to.
enum class ScriptLabel {
    Label2 = 2, // side to play (italic)
    Label3 = 3, // players (bold)
    Label6 = 6, // comment label
};

// Implemented by the main window (with its widgets), by qvn run (as a transcript)
// and by the tests (as a recorder). Every call happens on the user-interface thread,
// inside the interpreter or the problem flow; none of them may re-enter the
// interpreter. The main board's OnLegalMove, OnMate and OnDraw events must reach
// ProblemFlow::BoardLegalMove, BoardMate and BoardDraw.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // --- labels and memo ---
    virtual void SetLabelText(ScriptLabel label, const std::string& text) = 0;
    virtual void SetLabelVisible(ScriptLabel label, bool visible) = 0;
    virtual void AddMemoLine(const std::string& text) = 0; // Memo1.Lines.Add
    virtual void ClearMemo() = 0;

    // --- the Next button (BitBtn2) ---
    virtual void SetNextEnabled(bool enabled) = 0;

    // --- the main board (ChessBrd1) ---
    virtual std::string BoardPosition() const = 0;              // 64-character position string
    virtual void SetBoardPosition(const std::string& text) = 0; // Position := text
    virtual bool BoardWhiteToMove() const = 0;
    virtual void SetBoardWhiteToMove(bool white) = 0;
    virtual void SetBoardWhiteOnTop(bool whiteOnTop) = 0;
    virtual void SetBoardEnabled(bool enabled) = 0;
    virtual void SetBoardBorderColor(RgbColor colour) = 0;
    virtual bool BoardMoveBack() = 0;
    virtual bool BoardMoveForward() = 0;
    // Plays a move as the board's MakeMove does; raises the board's events (so
    // OnLegalMove reaches ProblemFlow::BoardLegalMove before this returns). A pawn
    // that reaches the last rank becomes the piece named by promotion ('q', 'r',
    // 'b', 'n'), or the board's own promotion letter when promotion is 0.
    virtual bool BoardMakeMove(Square from, Square to, char promotion) = 0;
    virtual void BoardNewGame() = 0;

    // --- the auxiliary board window (TForm3) ---
    // The same move on the auxiliary board (promotion as for BoardMakeMove).
    virtual void AuxMakeMove(Square from, Square to, char promotion) = 0;

    // --- the user's turn ---
    virtual void ShowYourTurn(bool shown) = 0; // DRLabel1 "Your turn!"
    // Plays "pop.wav" when the Sound box is ticked. Returns false with the
    // multimedia error text in errorMessage when the sound cannot be played.
    virtual bool PlayPop(std::string& errorMessage) = 0;
    virtual void StartClock() = 0; // Crono1.Start
    virtual void StopClock() = 0;  // Crono1.Stop
    // The seconds the clock has counted on the current problem (0 for hosts without one).
    virtual double ClockSeconds() const { return 0.0; }

    // --- scoring ---
    // Shows the add-points dialog modally. The dialog reads AddPointsText and
    // AddPointsValue (passed here and also set in Globales beforehand); returns true
    // when the user pressed its add button (the dialog may also set
    // Globales::AddPointsAccepted; either way counts as accepted).
    virtual bool AskAddPoints(const std::string& text, int value) = 0;
    // The three LED digits CLEDLabel1..3 (hundreds, tens, units): digits[0..2],
    // each '0'..'9', '-' (minus) or 'E' (out of range); see PointsDigits.
    virtual void SetPointsDigits(const std::string& digits) = 0;

    // --- the diagram window (TForm2) ---
    // command is "board", "struct", "quitboard", "arrow", "circle" or "square";
    // args are the line's raw argument words (arrow: words 2-4, circle and square:
    // words 2-3, as far as present; none for the others). StructureOnly in
    // Globales is already set (struct) or cleared (quitboard) when this is called.
    // Returns an empty text on success, otherwise the error message that ends the
    // run (for example a conversion error of a square's rank); the interpreter shows it.
    virtual std::string DiagramCommand(const std::string& command,
                                       const std::vector<std::string>& args) = 0;

    // --- message boxes ---
    // Error box captioned "QRVNE"; message is the final text (with its full stop).
    virtual void ShowError(const std::string& message) = 0;
    // Information box (caption "Information", button "OK"): "Check Mate", "Draw".
    virtual void ShowInfo(const std::string& text) = 0;

    // --- training options (see TrainingOptions; hosts without them keep these) ---
    // "Check Mate" or "Draw" shown over the board instead of an information box.
    virtual void ShowBanner(const std::string& text) { ShowInfo(text); }
    // The verdict on the player's move (Verdict::None clears it).
    virtual void ShowVerdict(Verdict) {}
    // Takes back a wrong try (the last move on the main board, from -> to) so that the
    // player can try again.
    virtual bool TakeBackTry(Square from, Square to) {
        (void)from;
        (void)to;
        return BoardMoveBack();
    }
    // Whether a hint may be asked for now.
    virtual void SetHintAvailable(bool) {}
    // A hint: the origin of the move to find, and with `to` not None an arrow to its target.
    virtual void ShowHint(Square, Square) {}
    virtual void ClearHints() {}
};

} // namespace qv
