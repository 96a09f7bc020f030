// The program-wide variables of the trainer, in one struct owned by the application.
#pragma once

#include "board/core/Square.h"
#include "script/core/ProblemTextFile.h"

#include <string>

namespace qv {

// The state that scripts read and write, shared by the main window, the interpreter,
// the problem flow and the secondary windows; the windows keep their own display state. The
// application owns one instance and hands it by reference to whoever needs it; the initial values
// are those the main window's creation sets.
struct Globales {
    std::string ProgramDir;       // folder of the program file, with a trailing separator
    ProblemTextFile ProblemFile;  // the problem file being worked
    bool ProblemFileOpen = false; // set once ProblemFile has been opened successfully
    std::string CurrentLine;      // the script line last read from ProblemFile
    std::string ProblemTitle;     // text of the index entry last selected
    int TotalPoints = 0;          // the points total shown on the LED digits
    bool OutputToLabel = true;    // comments and results go to Label6
    bool OutputToMemo = true;     // comments and results go to Memo1
    bool StructureOnly = false;   // the diagram window shows pawns only
    Square LastMoveFrom = None;   // squares of the last move the main board reported
    Square LastMoveTo = None;
    std::string AddPointsText;      // question shown by the add-points dialog
    int AddPointsValue = 0;         // points offered by that dialog
    bool AddPointsAccepted = false; // set by the dialog's add button
};

} // namespace qv
