// Test helpers: a board model that logs its engine hooks, events and view calls in order.
#pragma once

#include "board/core/BoardModel.h"

#include <string>
#include <vector>

namespace qvtest {

// Records everything a BoardModel tells the outside world, as short strings.
class RecordingBoard : public qv::BoardModel, public qv::BoardView {
public:
    std::vector<std::string> Log;
    int Stops = 0;
    int Starts = 0;
    bool LogView = false;

    RecordingBoard() {
        SetView(this);
        using qv::Square;
        auto sq = [](Square s) { return qv::SquareName(s); };
        OnLegalMove = [this, sq](qv::BoardModel* s, Square a, Square b) {
            Event(s, "LegalMove " + sq(a) + sq(b));
        };
        OnCapture = [this, sq](qv::BoardModel* s, Square a, Square b, char c) {
            Event(s, "Capture " + sq(a) + sq(b) + " " + c);
        };
        OnCastle = [this, sq](qv::BoardModel* s, Square a, Square b) {
            Event(s, "Castle " + sq(a) + sq(b));
        };
        OnCheck = [this, sq](qv::BoardModel* s, Square a, Square b) {
            Event(s, "Check " + sq(a) + sq(b));
        };
        OnMate = [this, sq](qv::BoardModel* s, Square a, Square b) {
            Event(s, "Mate " + sq(a) + sq(b));
        };
        OnStaleMate = [this, sq](qv::BoardModel* s, Square a, Square b) {
            Event(s, "StaleMate " + sq(a) + sq(b));
        };
        OnPromotion = [this, sq](qv::BoardModel* s, Square a, Square b, char& p) {
            Event(s, "Promotion " + sq(a) + sq(b) + " " + p);
            if (NextPromotion) p = NextPromotion;
        };
        OnNoMatingMaterial = [this](qv::BoardModel* s) { Event(s, "NoMatingMaterial"); };
        OnThreefoldPosition = [this](qv::BoardModel* s) { Event(s, "Threefold"); };
        OnDraw = [this](qv::BoardModel* s) { Event(s, "Draw"); };
        OnPaint = [this](qv::BoardModel* s) { Event(s, "Paint"); };
    }

    char NextPromotion = 0;

    void StopThinking() override {
        ++Stops;
        BoardModel::StopThinking();
    }
    void StartThinking() override { ++Starts; }

    // Plays a list of moves given as "e2e4" words; false at the first refused move.
    bool Play(std::initializer_list<const char*> moves) {
        for (const char* m : moves) {
            const std::string s(m);
            if (!PlayMove(qv::StrToSquare(s.substr(0, 2)), qv::StrToSquare(s.substr(2, 2))))
                return false;
        }
        return true;
    }

    // Events only (view calls filtered out).
    std::vector<std::string> Events() const {
        std::vector<std::string> out;
        for (const auto& l : Log)
            if (l.rfind("view:", 0) != 0) out.push_back(l);
        return out;
    }

    // BoardView
    void Paint() override { View("Paint"); }
    void PaintSquare(qv::Square s) override { View("PaintSquare " + qv::SquareName(s)); }
    void DrawPiece(qv::Square s, char p) override {
        View("DrawPiece " + qv::SquareName(s) + " " + p);
    }
    void DrawGridLines() override { View("Grid"); }
    void RepaintChanges(std::string_view) override { View("RepaintChanges"); }
    void AnimateMove(qv::Square a, qv::Square b, int d) override {
        View("Animate " + qv::SquareName(a) + qv::SquareName(b) + " " + std::to_string(d));
    }

private:
    void Event(qv::BoardModel* sender, const std::string& what) {
        Log.push_back(sender == this ? what : "WRONG SENDER " + what);
    }
    void View(const std::string& what) {
        if (LogView) Log.push_back("view:" + what);
    }
};

inline qv::Square Sq(const char* name) {
    return qv::StrToSquare(name);
}

} // namespace qvtest
