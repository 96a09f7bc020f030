# qvn analyse with the built-in engine on known mates, with a fake UCI engine, and its
# refusals; qvn search with a node limit. Each output compared line for line.
include(${CMAKE_CURRENT_LIST_DIR}/QvnCase.cmake)

qvn(mate-in-one 0 "depth 1 score mate 1 pv a1a8\nbestmove a1a8\n"
    analyse "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" --depth 1)
qvn(mate-in-two 0
    "depth 1 score mate 2 pv d2d8 c8d8 d1d8\ndepth 2 score mate 2 pv d2d8 c8d8 d1d8\ndepth 3 score mate 2 pv d2d8 c8d8 d1d8\nbestmove d2d8\n"
    analyse "2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1" --depth 3)
qvn(mated-next 0 "depth 1 score cp -520 pv a8b8\ndepth 2 score mate -1 pv a8b8 h1h8\nbestmove a8b8\n"
    analyse "k7/8/1K6/8/8/8/8/7R b - - 0 1" --depth 2)
qvn(mated 0 "bestmove (none)\n" analyse "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1" --depth 2)
qvn(no-king 2 "" analyse "8/8/8/8/8/8/8/K7 w - - 0 1")
qvn(king-taken 2 "" analyse "4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1")
qvn(bad-fen 2 "" analyse "not a fen")
qvn(both-limits 1 "" analyse "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" --depth 2 --movetime 10)
qvn(builtin-multipv 1 "" analyse "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" --multipv 2)

set(ENV{FAKE_UCI_MODE} normal)
qvn(uci-depth 0 "depth 1 score cp 10 pv e7e5\ndepth 2 score cp 20 pv e7e5\nbestmove e7e5\n"
    analyse "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1" --depth 2 --uci ${FAKE_UCI})
set(ENV{FAKE_UCI_MODE} crash)
qvn(uci-crash 2 "" analyse "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" --uci ${FAKE_UCI})

# The queen-heavy position of the bench without its pawn on a1, which makes it unplayable.
set(heavy "2rkr3/Pppp1ppp/1bn3bN/nP6/BBP1R3/q4N2/Pp1P2PP/3Q1RK1 w - - 0 1")
qvn(search-limit 4 "(none)\n" search ${heavy} 2 --max-nodes 50000)
qvn(search-limit-kept 0 "e2a6\n" search
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1" 30 --max-nodes 20000)

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} qvn analyse case(s) failed")
endif()
