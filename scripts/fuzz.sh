#!/usr/bin/env bash
# Runs every fuzz target for a while, with AddressSanitizer and UBSan:
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 600)
#   scripts/fuzz.sh --smoke                30 seconds in all, for CI
# Corpora grow in build-fuzz/corpus/<target>, seeded from the tests'
# fixtures, the sample and the shared metafiles. A crash, leak or slow input
# is written to build-fuzz/findings/; keep it under tests/regressions/<kind>/
# once mended, and the suite runs it from then on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
shared="${VELLARA_SHARED_DIR:-$root/../shared}"
seconds=600
# An input taking over a second is a hang; the smoke run, on a busy CI
# machine, only checks that the targets run and allows more.
timeout=1
if [ "${1:-}" = "--smoke" ]; then seconds=6; timeout=10; elif [ -n "${1:-}" ]; then seconds="$1"; fi

"$root/scripts/setup.sh"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLARA_FUZZ=ON \
  -DVELLARA_BUILD_TESTS=OFF -DVELLARA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_settingsFile fuzz_deckFile fuzz_layoutFile \
  fuzz_cardTextFile fuzz_pictureFile >/dev/null

seed() {  # seed TARGET FILES...
  local dir="$build/corpus/$1"; shift
  mkdir -p "$dir"
  for f in "$@"; do [ -f "$f" ] && cp -n "$f" "$dir/seed-$(basename "$f" | tr ' ' _)" || true; done
}
sample="$root/data/sample"
seed settingsFile "$sample/vellara.ini"
seed deckFile "$sample/decks/major/cards.dat"
seed layoutFile "$sample"/*.lat
seed cardTextFile "$sample/decks/major/cards.dat" "$sample/Three Card.lat"
seed pictureFile "$sample"/decks/major/0*.wmf "$sample/decks/major/back.wmf" "$shared"/wmf-samples/*.wmf
for kind in settings deck layout cardtext picture; do
  case $kind in
    settings) t=settingsFile ;; deck) t=deckFile ;; layout) t=layoutFile ;;
    cardtext) t=cardTextFile ;; picture) t=pictureFile ;;
  esac
  seed "$t" "$root"/tests/regressions/$kind/*
done

mkdir -p "$build/findings"
status=0
for t in settingsFile deckFile layoutFile cardTextFile pictureFile; do
  echo "== fuzz_$t for ${seconds}s"
  # -rss_limit_mb bounds memory, and with it any single allocation.
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
       LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
       "$build/fuzz/fuzz_$t" "$build/corpus/$t" -max_total_time="$seconds" -timeout="$timeout" \
       -rss_limit_mb=2048 -max_len=262144 -artifact_prefix="$build/findings/$t-" \
       -print_final_stats=1 2>"$build/findings/$t.log"; then
    echo "fuzz_$t found a fault: see $build/findings/$t.log"
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/findings/$t.log" || true
done
exit $status
