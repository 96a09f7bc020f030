// qvn: lists, runs, checks and analyses problem files and positions without a display.
#include "tools/qvn/Command.h"

#include "cmake/QvBuildInfo.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace qvn {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

const Command* Find(const std::string& name) {
    for (const auto& c : Commands())
        if (c.Name == name) return &c;
    return nullptr;
}

int UsageError(const std::string& name, const std::string& why) {
    if (!why.empty()) std::cerr << "qvn " << name << ": " << why << "\n";
    if (const Command* c = Find(name))
        std::cerr << "usage: qvn " << c->Name << " " << c->Usage << "\n";
    else
        std::cerr << "usage: qvn COMMAND [ARGS...]   (qvn --help lists the commands)\n";
    return ExitUsage;
}

bool ParseInt(const std::string& text, long long& value) {
    if (text.empty()) return false;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && p == text.data() + text.size();
}

static void PrintHelp(std::ostream& out) {
    auto cmds = Commands();
    std::sort(cmds.begin(), cmds.end(),
              [](const Command& a, const Command& b) { return a.Name < b.Name; });
    out << "qvn - command-line companion of the Quorvane chess tactics trainer\n\n"
           "usage: qvn COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : cmds)
        out << "  qvn " << c.Name << " " << c.Usage << "\n      " << c.Summary << "\n";
    out << "  qvn --help | --version\n\n"
           "Exit codes: 0 success, 1 usage error, 2 file or position error, 4 limit reached\n"
           "before any result.\n";
}

} // namespace qvn

int main(int argc, char** argv) {
    using namespace qvn;
    if (argc < 2) {
        PrintHelp(std::cerr);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(std::cout);
        return ExitOk;
    }
    if (name == "--version") {
        std::cout << "qvn " << qv::build::Version << "\n";
        return ExitOk;
    }
    const Command* cmd = Find(name);
    if (!cmd) {
        std::cerr << "qvn: unknown command '" << name << "'\n";
        return UsageError("");
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    try {
        return cmd->Run(args);
    } catch (const std::exception& e) {
        std::cerr << "qvn " << name << ": " << e.what() << "\n";
        return ExitFailure;
    }
}
