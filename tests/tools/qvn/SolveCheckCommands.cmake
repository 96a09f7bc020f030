# qvn solve and qvn check: output and exit code of each case, line for line.
include(${CMAKE_CURRENT_LIST_DIR}/QvnCase.cmake)

set(cooked "k7/8/K7/2Q5/8/8/8/8 w - - 0 1")
qvn(solve-sorted 0 "c5a7\nc5c8\nc5f8\n" solve ${cooked} 1)
qvn(solve-lines 0 "d3d8 c8d8 d2d8 a8d8 d1d8\n" solve "r1r3k1/5ppp/8/8/8/3R4/3R1PPP/3R2K1 w - - 0 1" 3 --lines)
qvn(solve-underpromotion 0 "f7f8n\n" solve "6nb/5Ppk/6pp/8/8/8/8/K7 w - - 0 1" 1)
qvn(solve-none 0 "" solve "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 2)
qvn(solve-bad-n 1 "" solve ${cooked} 0)
qvn(solve-n-not-a-number 1 "" solve ${cooked} two)
qvn(solve-missing-n 1 "" solve ${cooked})
qvn(solve-bad-fen 2 "" solve "k7/8/K7/2Q5/8/8/8/9 w - - 0 1" 1)
qvn(solve-unplayable 2 "" solve "k7/8/K7/2Q5/8/8/8/7K w - - 0 1" 1)

file(READ ${DATA_DIR}/broken.out broken)
qvn(check-broken 3 "${broken}" check ${DATA_DIR}/broken.qvn)
qvn(check-one 3 "13: d2d8 also mates in 2, but no .if line accepts it\n13: line 203: the scripted d2d7 does not force mate in 2\n"
    check ${DATA_DIR}/broken.qvn --problem "13 Unsound")
qvn(check-sound 0 "" check ${DATA_DIR}/broken.qvn --problem 1)
qvn(check-no-mates 0 "" check ${DATA_DIR}/broken.qvn --problem 11 --no-mates)
qvn(check-no-problem 2 "" check ${DATA_DIR}/broken.qvn --problem 99)
qvn(check-unreadable 2 "" check ${DATA_DIR}/no-such-file.qvn)
qvn(check-usage 1 "" check)

# import --check: the cooks of every imported problem on standard error, exit code 0.
execute_process(COMMAND ${QVN} import ${DATA_DIR}/cooked.pgn --check
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(cooks "1: cook: e2e8 also mates in 2 (an .if line accepts it)\n2: cook: e2e8 also mates in 2 (an .if line accepts it)\nimported 2 of 2 records; 2 findings\n")
if(NOT rc EQUAL 0 OR NOT err STREQUAL cooks OR NOT out MATCHES "\\.if e2e8 Qe8\\+ 1 Also forces mate")
  message(SEND_ERROR "import-check: exit ${rc}\n--- stderr:\n${err}--- expected:\n${cooks}")
  math(EXPR failures "${failures} + 1")
endif()

# check --uci: the engine's two best moves per turn of a problem that does not end in mate.
set(ENV{FAKE_UCI_MODE} two)
set(ENV{FAKE_UCI_PV1} d1d5)
set(ENV{FAKE_UCI_PV2} c3d5)
set(ENV{FAKE_UCI_CP1} 900)
set(ENV{FAKE_UCI_CP2} 880)
set(second "1: line 13: turn 1: c3d5 is about as good as the solution d1d5\n")
qvn(uci-second 3 "${second}" check ${DATA_DIR}/uci.qvn --uci ${FAKE_UCI})
set(ENV{FAKE_UCI_PV1} c3d5)
set(ENV{FAKE_UCI_PV2} d1d5)
qvn(uci-better 3 "1: line 13: turn 1: c3d5 is about as good as the solution d1d5\n"
    check ${DATA_DIR}/uci.qvn --uci ${FAKE_UCI} --depth 3)
set(ENV{FAKE_UCI_CP2} 0)
qvn(uci-unique 0 "" check ${DATA_DIR}/uci.qvn --uci ${FAKE_UCI} --movetime 50)
set(ENV{FAKE_UCI_MODE} exit)
qvn(uci-fails 2 "" check ${DATA_DIR}/uci.qvn --uci ${FAKE_UCI})
qvn(uci-limits-alone 1 "" check ${DATA_DIR}/uci.qvn --depth 3)
if(EXISTS /usr/games/stockfish)
  qvn(uci-stockfish 3 "${second}" check ${DATA_DIR}/uci.qvn --uci /usr/games/stockfish --depth 10)
else()
  message(STATUS "uci-stockfish skipped: /usr/games/stockfish is not installed")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} qvn solve/check case(s) failed")
endif()
