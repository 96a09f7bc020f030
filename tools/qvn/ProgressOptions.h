// What the qvn commands that use the progress store share: opening it.
#pragma once

#include "progress/store/SqliteProgressStore.h"

#include <QCoreApplication>

#include <memory>
#include <string>

namespace qvn {

// The progress file that --db names (or the default one, see ProgressFilePath),
// open for one command, with the QCoreApplication that Qt SQL loads its driver
// through (created when there is none, freed after the store).
class ProgressSession {
public:
    ProgressSession(const std::string& db, bool readOnly);
    ~ProgressSession();
    qv::SqliteProgressStore& Store() { return *store_; }

    // Prints the store's notice, if it has one, as "qvn COMMAND: NOTICE" on
    // standard error; true when there was one.
    bool PrintNotice(const std::string& command);

private:
    std::unique_ptr<QCoreApplication> app_;
    std::unique_ptr<qv::SqliteProgressStore> store_;
};

} // namespace qvn
