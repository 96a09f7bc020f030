// Where the progress file lives.
#pragma once

#include <string>

namespace qv {

// The environment variable that names another progress file (tests, portable use).
inline constexpr const char* ProgressFileVariable = "QUORVANE_PROGRESS_DB";

// The progress file to use: `chosen` when it is not empty (qvn's --db), else the
// file that QUORVANE_PROGRESS_DB names, else "progress.sqlite" in the trainer's
// application data folder (QStandardPaths::AppDataLocation of the application
// "QRVNE", whichever program asks).
std::string ProgressFilePath(const std::string& chosen = {});

} // namespace qv
