// The board model: one position, the rules, move making with all side effects,
// the game record and the board's events. It has no display; the widget that
// shows it implements BoardView and the engine hooks.
#pragma once

#include "board/core/Rules.h"
#include "board/core/Square.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// What the move code asks of a display. Headless users leave it unset.
class BoardView {
public:
    virtual ~BoardView() = default;
    virtual void Paint() = 0;                          // complete repaint, at once
    virtual void PaintSquare(Square sq) = 0;           // one square, without its piece
    virtual void DrawPiece(Square sq, char piece) = 0; // one piece image on a square
    virtual void DrawGridLines() = 0;
    virtual void RepaintChanges(std::string_view oldPosition) = 0;
    virtual void AnimateMove(Square from, Square to, int delayMs) = 0;
};

// One entry of the game record: the position in which the entry's side is to move.
struct MoveInfo {
    std::string PositionText;
    CastleSet CastleRights = AllCastling;
    Square FromSquare = None;
    Square ToSquare = None;
    Square EnPassantSquare = None;
    unsigned Game = 0; // which game wrote it; 0 = never written
};

// A half-move: move number and side to move. Ordered (m, White) < (m, Black) < (m + 1, White).
struct HalfMove {
    int Move = 1;
    bool WhiteToMove = true;
    long Index() const { return 2L * Move + (WhiteToMove ? 0 : 1); }
    friend bool operator==(const HalfMove&, const HalfMove&) = default;
};

class BoardModel {
public:
    // Events; Sender is the board that raises them (the widget, when there is one).
    using TNotifyEvent = std::function<void(BoardModel* Sender)>;
    using TMoveEvent = std::function<void(BoardModel* Sender, Square oldSq, Square newSq)>;
    using TCaptureEvent =
        std::function<void(BoardModel* Sender, Square oldSq, Square newSq, char CapturedPiece)>;
    using TPromotionEvent =
        std::function<void(BoardModel* Sender, Square oldSq, Square newSq, char& NewPiece)>;
    using TOneSquareEvent = std::function<void(BoardModel* Sender, Square square)>;
    using TThinkEvent = std::function<void(BoardModel* Sender, Square& oldsq, Square& newsq)>;

    BoardModel();
    virtual ~BoardModel() = default;
    BoardModel(const BoardModel&) = delete;
    BoardModel& operator=(const BoardModel&) = delete;

    // --- position ---
    std::string Position() const { return state_.PositionText(); }
    // Sets the 64 squares only; "init" and "newgame" (any case) give the initial position.
    void SetPosition(std::string_view text);
    bool WhiteToMove() const { return state_.WhiteToMove; }
    void SetWhiteToMove(bool white);
    Square EnPassant() const { return state_.EnPassant; }
    void SetEnPassant(Square sq); // only a3..h3 and a6..h6 are taken
    CastleSet CastlingAllowed() const { return state_.CastlingAllowed; }
    void SetCastlingAllowed(CastleSet c) { state_.CastlingAllowed = c; }
    int CurrentMove() const { return state_.CurrentMove; }
    void SetCurrentMove(int) {} // the move number changes only through moves
    char PromotionPiece = 'q';

    // The live position fields (the search thread reads them while it searches).
    const BoardState& State() const { return state_; }

    void ResetBoard();
    void NewGame();

    // FEN: placement, side, castling, en-passant square and move number. The game
    // record starts afresh at the position's own half-move. Returns false (and
    // changes nothing) for a malformed text, with a reason in *error.
    bool SetFen(std::string_view fen, std::string* error = nullptr);
    std::string Fen() const;

    // --- rules ---
    int PieceColor(int sq) const { return qv::PieceColor(state_, sq); }
    bool KingAttacked(int colour, int origin, int target) const {
        return qv::KingAttacked(state_, colour, origin, target);
    }
    bool IsLegalMove(int origin, int target) const;
    bool HasLegalMove() const { return qv::HasLegalMove(state_); }
    bool ThreefoldRepetition() const;

    // --- moves and the game record ---
    // Refused (false, nothing changes) while another PlayMove is under way, that is
    // from inside the handlers of the move's own events.
    bool PlayMove(Square origin, Square target);
    bool MakeMove(Square origin, Square target);
    bool GotoMove(int move, bool white);
    bool MoveBack();
    bool MoveForward();
    HalfMove FirstRecorded() const { return first_; }
    HalfMove LastRecorded() const { return last_; }
    // The entry of a half-move written in the current game, or nullptr.
    const MoveInfo* RecordEntry(int move, bool white) const;

    // --- engine hooks; the widget overrides them ---
    // Called before every outside change of the position; sets EngineHold.
    virtual void StopThinking() { EngineHold = true; }
    virtual void StartThinking() {}

    // --- flags shared with the widget and the engine ---
    bool GameOver = false;
    bool EngineHold = false;
    bool AnimateMoves = true;
    int AnimationDelay = 0;
    Square DragFrom = None;
    Square DropTo = None;

    // --- events ---
    TMoveEvent OnLegalMove, OnCastle, OnCheck, OnMate, OnStaleMate;
    TCaptureEvent OnCapture;
    TPromotionEvent OnPromotion;
    TNotifyEvent OnNoMatingMaterial, OnThreefoldPosition, OnDraw, OnPaint;
    TOneSquareEvent OnIllegalMove;
    TThinkEvent OnCalculateMove;
    TMoveEvent OnCalculationFailed;

    void SetView(BoardView* view) { view_ = view; }
    BoardView* View() const { return view_; }

protected:
    BoardState state_;

private:
    void Record(const HalfMove& h, Square from, Square to, bool withMove);
    MoveInfo* Entry(const HalfMove& h);
    const MoveInfo* Entry(const HalfMove& h) const;
    HalfMove Current() const { return {state_.CurrentMove, state_.WhiteToMove}; }
    void RepaintSquare(Square sq);

    BoardView* view_ = nullptr;
    std::vector<MoveInfo> record_; // index HalfMove::Index() - first_.Index()
    HalfMove first_, last_;
    unsigned game_ = 1;
    bool recordStarted_ = false; // has a move been recorded in this game
    bool playing_ = false;       // a PlayMove is under way
};

} // namespace qv
