// Reading any bytes as a problem file: the index, then a headless play-through of each
// listed problem (at most a few), answering every turn with the first legal move.
#include "board/core/Perft.h"
#include "script/core/Globales.h"
#include "script/core/ProblemFlow.h"
#include "script/core/ScriptWords.h"
#include "script/core/TranscriptHost.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::Globales g;
    try {
        g.ProblemFile.OpenFromBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const qv::FileError&) {
        return 0; // no problem file: refused with a message, nothing else to check
    }
    g.ProblemFileOpen = true;
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < g.ProblemFile.LineCount() && entries.size() < 8; ++i) {
        const std::string_view line = g.ProblemFile.LineView(i);
        if (qv::IsIndexLine(line)) entries.push_back(qv::IndexEntry(line));
    }
    std::ostringstream out;
    qv::TranscriptHost host(out);
    host.AcceptPoints = size % 2 == 0;
    qv::ProblemFlow flow(g, host);
    host.Attach(flow);
    for (const std::string& entry : entries) {
        if (!flow.SelectProblem(entry)) continue;
        for (int presses = 0; host.NextEnabled() && presses < 64; ++presses) {
            const qv::ScriptStop stop = flow.Next();
            if (stop == qv::ScriptStop::IndexLine) break;
            if (stop != qv::ScriptStop::UserTurn) continue;
            bool played = false;
            qv::ForEachLegalMove(host.Board(), [&](qv::Square from, qv::Square to, char) {
                if (!played) played = host.Board().MakeMove(from, to);
            });
            if (!played) break;
        }
    }
    return 0;
}
