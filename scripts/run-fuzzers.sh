#!/usr/bin/env bash
# Runs the fuzz harnesses of a libFuzzer build (./build.sh fuzz), one after
# the other, each for PELIX_FUZZ_SECONDS seconds (default 60), starting from
# its seed corpus (BUILD/corpus/<harness>) and from what earlier runs found
# (BUILD/fuzz-runs/<harness>/corpus, which grows from run to run). Prints each
# harness's executions, rate, coverage and corpus, and the total executions.
# A finding (crash, sanitizer report, leak, timeout, out of memory) leaves its
# input and log in BUILD/fuzz-runs/<harness>/ and makes the exit status 1.
#   scripts/run-fuzzers.sh [BUILD_DIR [HARNESS...]]
set -uo pipefail
build=$(cd "${1:-build-fuzz}" && pwd)
shift || true
seconds=${PELIX_FUZZ_SECONDS:-60}
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(fuzz_recording fuzz_search fuzz_overview fuzz_readings fuzz_display)

total=0
found=()
printf '%-16s %8s %12s %8s %8s %8s %s\n' harness seconds executions exec/s cov ft corpus
for h in "${harnesses[@]}"; do
  run="$build/fuzz-runs/$h"
  mkdir -p "$run/corpus"
  options=(-max_total_time="$seconds" -max_len=65536 -timeout=30 -rss_limit_mb=4096 -print_final_stats=1
    -artifact_prefix="$run/")
  # Qt keeps caches and per-thread data it never frees; our own leaks are the
  # business of the harnesses without a window.
  case $h in fuzz_display | fuzz_readings | fuzz_overview) options+=(-detect_leaks=0) ;; esac
  start=$(date +%s)
  (cd "$run" && "$build/bin/$h" "${options[@]}" corpus "$build/corpus/$h") >"$run/log" 2>&1
  status=$?
  elapsed=$(($(date +%s) - start))
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$run/log" | tail -1 | awk '{print $2}')
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$run/log" | tail -1 | awk '{print $2}')
  last=$(grep -E '^#[0-9]+.*cov: ' "$run/log" | tail -1)
  cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(sed -n 's/.*corp: \([0-9]*\/[0-9A-Za-z]*\).*/\1/p' <<<"$last")
  executions=${executions:-0}
  total=$((total + executions))
  printf '%-16s %8s %12s %8s %8s %8s %s\n' "$h" "$elapsed" "$executions" "${rate:-?}" "${cov:-?}" "${ft:-?}" \
    "${corpus:-?}"
  [ $status -eq 0 ] || found+=("$h (status $status)")
done
echo "total executions: $total"
if [ ${#found[@]} -gt 0 ]; then
  echo "findings: ${found[*]}; each log and its crash-/leak-/timeout-/oom- input are in $build/fuzz-runs/<harness>/"
  exit 1
fi
