// The script interpreter: runs a problem's script from the shared read position
// of the problem file up to the next stopping point.
#pragma once

#include "script/core/Globales.h"
#include "script/core/ScriptHost.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace qv {

// Where a run of the interpreter stopped.
enum class ScriptStop {
    NotOpen,        // no problem file open: nothing was done
    WaitingForNext, // .m, .pause, a diagram command, a plain line, an unrecognised command
    IndexLine,      // the next problem's index line (an unrecognised command "#")
    UserTurn,       // .*w or .*b: the board waits for the user's move (Next disabled)
    ProblemEnded,   // .end: Next disabled
    EndOfFile,      // the file ended during the run; the next run starts at its first line
    Error,          // a conversion error ended the run (shown through ScriptHost::ShowError)
};

// Runs scripts against a ScriptHost. Holds no state of its own between runs beyond
// what lives in Globales (the file's read position, CurrentLine, the output flags).
class ScriptInterpreter {
public:
    ScriptInterpreter(Globales& globals, ScriptHost& host) : g_(globals), host_(host) {}

    // One press on Next: reads and executes lines until a stopping point.
    ScriptStop RunScript();

    // TotalPoints := 0 and the three digits read 0 0 0.
    void ClearScore();

    // Shows TotalPoints on the LED digits.
    void ShowTotal();

private:
    bool Execute(const std::string& command, ScriptStop& stop);
    void ReadPosition();
    void CmdPlays();
    void CmdMove();
    void CmdIf();
    void CmdAddPoints();
    void CmdResult(const char* text);
    bool UserTurn(bool whiteAtBottom);
    void BoardIdle();
    void LabelIdle();
    void Comment(const std::string& text);

    Globales& g_;
    ScriptHost& host_;
};

// Raised inside a run for a number that is not a decimal integer; what() is the
// run-time's message "'TEXT' is not a valid integer value" (no full stop).
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal integer with an optional leading "+" or "-", within the range of int;
// anything else throws ConvertError.
int StrToInt(std::string_view text);

// The move text of a .m line normalised to origin and target (e.g. "Ng1xf3+" to
// "g1f3", "0-0" to "e1g1" with White to move); a promotion ("e7e8n", "e7-e8=N",
// "e7e8=N", "e7-e8N": a letter Q, R, B or N in either case after the target, with
// or without "=") gives origin, target and the letter in lower case ("e7e8n");
// texts that name no squares stay as they are after dropping spaces, "+" and "#".
std::string NormaliseMoveText(std::string_view written, bool whiteToMove);

// The expected move of an .if line (its word 2): characters 1-2 and 3-4 as squares.
// False when the word has fewer than four characters or does not name two squares.
bool ExpectedMove(std::string_view word, Square& from, Square& to);

// The three characters the LED digits show for a total: 5 -> "005", 250 -> "250";
// -5 -> "-05", -42 -> "-42"; beyond 999 -> "EEE", below -99 -> "-EE".
std::string PointsDigits(int total);

// a + b without overflow (clamped to the range of int).
int AddPoints(int a, int b);

} // namespace qv
