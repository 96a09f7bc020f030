// Opening the progress store for qvn.
#include "tools/qvn/ProgressOptions.h"

#include "progress/store/ProgressLocation.h"

#include <iostream>

namespace qvn {

namespace {
int argc = 1;
char name[] = "qvn";
char* argv[] = {name, nullptr};
} // namespace

ProgressSession::ProgressSession(const std::string& db, bool readOnly) {
    if (!QCoreApplication::instance()) app_ = std::make_unique<QCoreApplication>(argc, argv);
    qv::SqliteProgressStore::Options options;
    options.Path = qv::ProgressFilePath(db);
    options.ReadOnly = readOnly;
    options.BusyTimeoutMs = 5000;
    store_ = std::make_unique<qv::SqliteProgressStore>(options);
}

ProgressSession::~ProgressSession() {
    store_.reset();
    app_.reset();
}

bool ProgressSession::PrintNotice(const std::string& command) {
    const std::string notice = store_->TakeNotice();
    if (notice.empty()) return false;
    std::cerr << "qvn " << command << ": " << notice << "\n";
    return true;
}

} // namespace qvn
