#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target of tests/fuzz for SECONDS each
# (default 30), starting from its committed seed corpus. Fails on the first crash, leak,
# sanitizer report or slow unit (a single input taking more than 10 s). Findings are kept in
# build/fuzz/findings/; a longer hunt by hand: tests/fuzz/run-fuzzers.sh 3600 [TARGET...].
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-30}"
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel 2

mapfile -t targets < build/fuzz/fuzz-targets.txt
if [ "$#" -gt 0 ]; then targets=("$@"); fi
findings=build/fuzz/findings
status=0
for t in "${targets[@]}"; do
  work=$(mktemp -d)                         # new inputs found in this run; the seeds stay as committed
  mkdir -p "$findings/$t"
  echo "fuzz_$t: ${seconds} s"
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
      "build/fuzz/bin/fuzz_$t" "$work" "tests/fuzz/corpus/$t" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$findings/$t/" -print_final_stats=1 >"$findings/$t.log" 2>&1; then
    echo "fuzz_$t FAILED: see $findings/$t.log and the input in $findings/$t/"
    tail -n 40 "$findings/$t.log"
    status=1
  else
    grep -E "^stat::number_of_executed_units|^Done" "$findings/$t.log" | tr '\n' ' '; echo
  fi
  rm -rf "$work"
done
exit $status
