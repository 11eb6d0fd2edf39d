#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang, libFuzzer, ASan+UBSan) and
# runs each for SECONDS (default 30), starting from the committed seeds and
# what earlier runs found (kept in build/fuzz/corpus/). Fails on any crash,
# leak, hang, sanitizer report or broken promise; the input that did it is
# kept in build/fuzz/artifacts/. Prints executions per second and in all.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
shift || true
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=(fuzz_config fuzz_reference_book fuzz_archive fuzz_weights fuzz_coin_description fuzz_show
           fuzz_ducat_replies fuzz_pollbench)
fi

scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

root="$PWD"
build="$root/build/fuzz"
mkdir -p "$build/artifacts"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

# Inputs as long as the largest file a target reads, with room to grow.
max_len() {
  case "$1" in
    fuzz_config) echo 13000 ;;
    fuzz_coin_description | fuzz_show) echo 6000 ;;
    fuzz_ducat_replies) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

failed=()
printf '%-24s %10s %12s %s\n' target exec/s executions result
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  log="$build/$target.log"
  mkdir -p "$corpus"
  status=0
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$(max_len "$target")" -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    "$corpus" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  if grep -qE 'ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:|promise broken' "$log"; then
    [ "$status" -ne 0 ] || status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  result=ok
  if [ "$status" -ne 0 ]; then
    result="FAILED (see $log)"
    failed+=("$target")
  fi
  printf '%-24s %10s %12s %s\n' "$target" "${rate:-?}" "${runs:-?}" "$result"
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  for target in "${failed[@]}"; do
    echo "==== $target" >&2
    grep -E -A25 'ERROR:|runtime error:|promise broken|==[0-9]+==' "$build/$target.log" | head -60 >&2 || tail -40 "$build/$target.log" >&2
  done
  exit 1
fi
