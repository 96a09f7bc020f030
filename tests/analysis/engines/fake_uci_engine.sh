#!/bin/sh
# A fake UCI engine for the tests. FAKE_UCI_MODE picks its behaviour:
#   normal   the handshake; "go depth N" prints N depths and a best move; "go infinite" prints
#            two depths (one line per MultiPV) and waits for "stop"
#   crash    the handshake, then dies of a signal at "go"
#   exit     leaves at once, like a program that is no engine
#   hang     never answers "uci"
#   garbage  answers "uci" with noise and never says "uciok"
#   flood    answers "uci" with a line that never ends
#   deaf     like normal, but ignores "stop"
#   two      like normal, but every "go" answers at once with two lines, FAKE_UCI_PV1 scoring
#            FAKE_UCI_CP1 centipawns and FAKE_UCI_PV2 scoring FAKE_UCI_CP2, and the first
#            as the best move
# Every line received is appended to the file FAKE_UCI_LOG when it is set. The line of play
# tells the sides apart: e2e4 when White is to move, e7e5 when Black is.
mode=${FAKE_UCI_MODE:-normal}
log=${FAKE_UCI_LOG:-/dev/null}
multipv=1
move=e2e4
[ "$mode" = exit ] && exit 3
two_best() {
  echo "info depth 1 multipv 1 score cp ${FAKE_UCI_CP1:-50} pv ${FAKE_UCI_PV1:-e2e4}"
  echo "info depth 1 multipv 2 score cp ${FAKE_UCI_CP2:-40} pv ${FAKE_UCI_PV2:-d2d4}"
  echo "bestmove ${FAKE_UCI_PV1:-e2e4}"
}
while IFS= read -r line; do
  printf '%s\n' "$line" >> "$log"
  case "$line" in
  uci)
    case $mode in
    hang) ;;
    garbage) printf 'Welcome!\n\033[31m%%$#@ not a chess engine\n' ;;
    flood) head -c 100000 /dev/zero | tr '\0' x ;;
    *) printf 'id name Fake Engine 1.0\nid author Nobody\noption name MultiPV type spin default 1 min 1 max 5\nuciok\n' ;;
    esac ;;
  isready) echo readyok ;;
  "setoption name MultiPV value "*) multipv=${line##* } ;;
  "position fen "*" w "*) move=e2e4 ;;
  "position fen "*" b "*) move=e7e5 ;;
  "go depth "*)
    [ "$mode" = two ] && { two_best; continue; }
    [ "$mode" = crash ] && kill -SEGV $$
    n=${line##* } d=1
    while [ "$d" -le "$n" ]; do
      echo "info depth $d seldepth $d score cp $((d * 10)) nodes $((d * 100)) pv $move"
      d=$((d + 1))
    done
    echo "bestmove $move" ;;
  "go"*)
    [ "$mode" = two ] && { two_best; continue; }
    [ "$mode" = crash ] && kill -SEGV $$
    for d in 1 2; do
      k=1
      while [ "$k" -le "$multipv" ]; do
        echo "info depth $d multipv $k score cp $((k * -10)) pv $move"
        k=$((k + 1))
      done
    done
    echo "info depth 3 currmove $move currmovenumber 1"
    echo "info depth 3 score mate 2 pv $move" ;;
  stop) [ "$mode" = deaf ] || echo "bestmove $move" ;;
  quit) exit 0 ;;
  esac
done
