// The command table of qvn: each command file registers one entry at start-up.
#pragma once

#include <string>
#include <vector>

namespace qvn {

// Exit codes shared by all commands.
constexpr int ExitOk = 0;
constexpr int ExitUsage = 1;   // unknown command or bad arguments
constexpr int ExitFailure = 2; // a file that cannot be read, a position that cannot be set up
constexpr int ExitLimit = 4;   // a --max-nodes or --movetime limit ended the work before any result

struct Command {
    std::string Name;
    std::string Usage;   // arguments, e.g. "FILE"
    std::string Summary; // one line for --help
    int (*Run)(const std::vector<std::string>& args);
};

std::vector<Command>& Commands();

struct Registrar {
    explicit Registrar(Command c) { Commands().push_back(std::move(c)); }
};

// Prints "usage: qvn NAME USAGE" on standard error and returns ExitUsage.
int UsageError(const std::string& name, const std::string& why = {});

// Parses a whole decimal number; false when the text is not one.
bool ParseInt(const std::string& text, long long& value);

} // namespace qvn
