// The engine's search at a small depth on fuzzed positions: the first line is a FEN, the
// next byte the depth (1 or 2). A search that runs longer than a second is stopped, so a
// slow unit shows as a finding of the run's time limit, not as a hung run.
#include "board/core/BoardModel.h"
#include "board/core/Playable.h"
#include "engine/core/Search.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t eol = text.find('\n');
    qv::BoardModel board;
    if (!board.SetFen(text.substr(0, eol)) || qv::WhyNotPlayable(board.State())) return 0;
    const int depth = eol != std::string::npos && eol + 1 < text.size() ? 1 + text[eol + 1] % 2 : 1;

    static auto searcher = std::make_unique<qv::engine::Searcher>();
    std::atomic<bool> stop{false};
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock lock(m);
        if (!cv.wait_for(lock, std::chrono::seconds(1), [&] { return done; })) stop = true;
    });
    const qv::engine::SearchResult result = searcher->RunSearch(board.State(), depth, stop);
    {
        std::lock_guard lock(m);
        done = true;
    }
    cv.notify_one();
    watchdog.join();
    // A move found must be one the board accepts.
    if (result.Found && !result.Stopped && !board.IsLegalMove(result.From, result.To)) std::abort();
    return 0;
}
