// qvn index FILE: the problem list of a problem file, one entry per line.
#include "tools/qvn/Command.h"

#include "script/core/Globales.h"
#include "script/core/ProblemIndex.h"

#include <iostream>

namespace {

int RunIndex(const std::vector<std::string>& args) {
    if (args.size() != 1) return qvn::UsageError("index", "expects one problem file");
    qv::Globales g;
    std::vector<std::string> entries;
    try {
        entries = qv::ScanProblemIndex(g, args[0]);
    } catch (const qv::FileError& e) {
        std::cerr << "qvn index: " << args[0] << ": " << e.what() << "\n";
        return qvn::ExitFailure;
    }
    for (const auto& e : entries) std::cout << e << "\n";
    return qvn::ExitOk;
}

qvn::Registrar reg{{"index", "FILE",
                    "the problem list of a problem file, one entry per line, in file order",
                    RunIndex}};

} // namespace
