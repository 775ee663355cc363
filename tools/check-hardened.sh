#!/usr/bin/env bash
# The hardened check: builds the tests, the real programs and the fuzz
# targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-hardened/ and runs the unit and game tests there offscreen; then it
# plays both real programs on a private X server with three of the smoke
# tests (a won game of each, the menu strip, a swap, the install notice),
# keeping every report they make in build-hardened/sanitizer-reports/; then
# it runs each fuzz target for FUZZ_SECONDS seconds (30 unless set).  Any
# sanitizer report fails it; a fuzz finding is kept in
# build-hardened/fuzz-findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh tests

build=build-hardened
seconds=${FUZZ_SECONDS:-30}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DSWAPSTER_FUZZ=ON \
  -DSWAPSTER_DEBIAN_HARDENING=OFF \
  -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
fuzzers=(options recent_lists statistics saved_game picture high_scores field_options)
cmake --build "$build" -j"$(nproc)" --target game_tests field_tests install_tests SWAPST95 HOTFIELD install_program game_data \
  "${fuzzers[@]/#/fuzz_}"

# Reports stop the program; leaks of the libraries underneath are not ours.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/leaks.supp:print_suppressions=0
ctest --test-dir "$build" -E '^(smoke|installed)' --output-on-failure --timeout 900 -j"$(nproc)"

# The real programs, played on an X server.  A smoke test sees a report only
# as a failed exit; the reports themselves, also of programs a test stopped,
# go to files.  The X keyboard library hands strndup a length that reaches
# past its buffer, though the string itself ends inside it, as strndup
# allows: strict string checks would call that a fault, so they are left to
# the tests above.
reports=$PWD/$build/sanitizer-reports
rm -rf "$reports" && mkdir -p "$reports"
ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1:log_path=$reports/asan \
  UBSAN_OPTIONS=$UBSAN_OPTIONS:log_path=$reports/ubsan \
  ctest --test-dir "$build" -R '^smoke_(programs|keyboard|field)$' --output-on-failure --timeout 600 || played=failed
if [ -n "$(ls -A "$reports")" ] || [ "${played-}" = failed ]; then
  cat "$reports"/* 2>/dev/null || true
  echo "the real programs failed under the sanitizers; their reports are in $reports/"
  exit 1
fi

# New inputs the fuzzer finds go to a scratch copy of each corpus, never into
# the tree.  Leaks are looked for once, when a fuzzer ends (and by the tests
# above): a search after every input would take most of the fuzzing time.
findings=$build/fuzz-findings
rm -rf "$build/fuzz-corpus" "$build/fuzz-logs" && mkdir -p "$findings" "$build/fuzz-logs"
for name in "${fuzzers[@]}"; do
  mkdir -p "$build/fuzz-corpus/$name"
  log=$build/fuzz-logs/$name.log
  echo "fuzzing $name for ${seconds}s"
  if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=0 \
      -artifact_prefix="$findings/$name-" "$build/fuzz-corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
    cat "$log"
    echo "fuzz_$name found a fault; the input that shows it is in $findings/"
    exit 1
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE" "$log" || true
done
