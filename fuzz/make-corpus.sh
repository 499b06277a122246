#!/usr/bin/env bash
# Seed corpora for the fuzz harnesses, made by pelix-synth: small recordings
# (2 to 5 frames) in every evaluation mode and reference reflector, every
# rectification, envelope, versions 6 to 8, every unit, both rates, flags and a
# FlagCount that disagrees with them, records cut short. Each harness gets a
# folder; the harnesses that read parameters before the recording get each
# recording with one of their parameter sets in front (the first recording
# with all of them).
#   fuzz/make-corpus.sh PELIX_SYNTH OUT_DIR
set -euo pipefail
synth=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

recordings=(
  "rf --rect 0 --frames 3"
  "neg --rect 1 --frames 2"
  "pos --rect 2 --frames 2"
  "full --rect 3 --frames 3"
  "eval-unknown --rect 3 --frames 2 --eval 99"
  "envelope-pos --envelope --rect 2 --frames 2"
  "envelope-rf --envelope --rect 0 --units 1 --frames 3"
  "envelope-cut --envelope --rect 3 --frames 2 --extra-bytes 2500"
  "v6 --version 6 --rect 1 --frames 3"
  "v7 --version 7 --rect 0 --units 1 --rate 10 --frames 3"
  "v8-us --units 2 --rate 10 --frames 3"
  "inch --units 1 --frames 2"
  "flags --flags 3 --frames 5"
  "flag-count-high --flags 1 --flag-count 4 --frames 3"
  "flag-count-low --flags 3 --flag-count 0 --frames 4"
  "flag-count-huge --flags 2 --flag-count 2147483647 --frames 3"
  "cut-record --frames 3 --extra-bytes 700"
  "cut-header --frames 2 --extra-bytes 100"
  "eval-none --eval none --frames 2"
  "dac-straight --eval dac-straight --frames 3 --flags 1"
  "dac-straight-bea --eval dac-straight --bea --bw-gain 200 --frames 3"
  "dac-straight-rf --eval dac-straight --rect 0 --offsets -60,-120,60 --frames 2"
  "dac-curved --eval dac-curved --frames 3"
  "dac-curved-inch --eval dac-curved --units 1 --points 16 --frames 2"
  "dac-recording --eval dac-recording --points 3 --frames 2"
  "dac-recording-none --eval dac-recording --points 0 --frames 2"
  "tcg --eval tcg --frames 3"
  "tcg-recording --eval tcg --tcg-status 1 --frames 2"
  "tcg-complete-bea --eval tcg --tcg-status 2 --bea --frames 2"
  "jis --eval jis --jis-bold 1 --frames 3"
  "jis-bold2 --eval jis --jis-bold 2 --units 2 --frames 2"
  "jis-custom --eval jis-custom --frames 3"
  "cn-straight --eval cn-straight --frames 3"
  "cn-straight-regs --eval cn-straight --cn-regs 5 --frames 2"
  "cn-curved --eval cn-curved --frames 2"
  "cn-curved-bea --eval cn-curved --bea --cn-regs 13 --frames 3"
  "dgs-general-disc --angle 0 --eval dgs-general --dgs-ref disc --frames 2"
  "dgs-general-hole --angle 0 --eval dgs-general --dgs-ref hole --dgs-ref-size 3000 --frames 2"
  "dgs-general-backwall --angle 0 --eval dgs-general --dgs-ref backwall --frames 3"
  "dgs-diagram-disc --angle 0 --eval dgs-probe-diagram --dgs-ref disc --dgs-ref-size 3000 --frames 2"
  "dgs-diagram-hole --angle 0 --eval dgs-probe-diagram --dgs-ref hole --dgs-probe 40 --frames 2"
  "dgs-diagram-backwall --eval dgs-probe-diagram --dgs-ref backwall --units 1 --frames 2"
  "dgs-nearfield-disc --angle 0 --eval dgs-probe-nearfield --dgs-ref disc --dgs-ers 1000 --frames 2"
  "dgs-nearfield-hole --angle 0 --eval dgs-probe-nearfield --dgs-ref hole --dgs-ref-size 3000 --dgs-ers 1000 --units 2 --frames 3"
  "dgs-nearfield-backwall --angle 0 --eval dgs-probe-nearfield --dgs-ref backwall --bea --frames 2"
  "dgs-number --angle 0 --eval 1 --filter 9 --frames 2"
)

# Parameter sets, packed as each harness reads them (little-endian).
# readings: gate A start, gate B start (float), thresholds (signed byte), which gates, spare, frame
readings=("10 30 30 40 3 0 1" "0 0 0 0 1 0 0" "-5 500 -100 100 2 0 3" "1e30 -1e30 127 -128 3 0 65535"
  "2.5 12.5 50 -50 3 0 2")
# search: left, right, lower, upper (float); ordinary, reversed, a line, everything, far out, outside
searches=("100 700 10 90" "700 100 90 10" "400 400 0 100" "0 800 -1 101" "-1e30 1e30 -1e30 1e30"
  "810 1600 0 100" "0 0.5 49.5 50" "350.5 351.5 20 20.5")
# overview: width, height, cursor frame, search match (16 bits)
overviews=("1000 120 1 1" "16 16 0 0" "2047 255 65535 3" "3 40 2 2")

for h in fuzz_recording fuzz_display fuzz_readings fuzz_search fuzz_overview; do
  rm -rf "${out:?}/$h"
  mkdir -p "$out/$h"
done

# with_parameters HARNESS PACK-TEMPLATE INDEX RECORDING-NAME SETS...
with_parameters() {
  local harness=$1 template=$2 index=$3 name=$4
  shift 4
  local sets=("$@") k
  for k in "${!sets[@]}"; do
    if [ "$index" -eq 0 ] || [ $((index % ${#sets[@]})) -eq "$k" ]; then
      # shellcheck disable=SC2086
      { perl -e "print pack('$template', @ARGV)" -- ${sets[$k]}; cat "$work/$name.BIN"; } >"$out/$harness/$name-$k"
    fi
  done
}

index=0
for line in "${recordings[@]}"; do
  read -r name options <<<"$line"
  # shellcheck disable=SC2086
  "$synth" -o "$work/$name.BIN" --seed $((index + 1)) $options >/dev/null
  cp "$work/$name.BIN" "$out/fuzz_recording/$name.BIN"
  cp "$work/$name.BIN" "$out/fuzz_display/$name.BIN"
  with_parameters fuzz_readings "f<f<ccCCS<" "$index" "$name" "${readings[@]}"
  with_parameters fuzz_search "f<f<f<f<" "$index" "$name" "${searches[@]}"
  with_parameters fuzz_overview "S<S<S<S<" "$index" "$name" "${overviews[@]}"
  index=$((index + 1))
done
echo "seed corpora for ${index} recordings in $out"
