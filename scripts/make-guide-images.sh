#!/usr/bin/env bash
# Makes every picture of docs/user-guide.md into docs/images/, from the sample
# recordings of a build folder, through the player's own window (pelix render
# --window), the overview strip (pelix overview) and the report (pelix report,
# pages pictured with pdftoppm from poppler-utils).
#
#   scripts/make-guide-images.sh [BUILD_FOLDER]     (default: build)
#
# The build folder must hold bin/pelix and samples/ (a plain build makes both).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pelix="$build/bin/pelix"
samples="$build/samples"
out=docs/images

for need in "$pelix" "$samples/DEMO.BIN"; do
  if [ ! -e "$need" ]; then
    echo "make-guide-images: $need is missing; build first (cmake --build $build)" >&2
    exit 1
  fi
done
if ! command -v pdftoppm >/dev/null 2>&1; then
  echo "make-guide-images: pdftoppm is missing (Debian package poppler-utils)" >&2
  exit 1
fi

# Headless, so the pictures do not depend on the desktop that happens to be at hand.
export QT_QPA_PLATFORM=offscreen
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# window NAME SAMPLE FRAME [render options...]: the whole player window showing FRAME.
window() {
  local name=$1 sample=$2 frame=$3
  shift 3
  "$pelix" render "$samples/$sample" "$frame" --window -o "$out/$name.png" "$@" 2>/dev/null
  echo "$out/$name.png"
}

# The first screen of the demo, a frame with held readings, RF in inch.
window window DEMO.BIN 1
window held-readings PLAIN_SCAN.BIN 20
window rf-inch RF_INCH_V7.BIN 50

# One picture per evaluation-curve family.
window curve-dac-straight-bea DAC_STRAIGHT_BEA.BIN 50
window curve-dac-curved DAC_CURVED.BIN 50
window curve-dac-recording DAC_RECORDING.BIN 50
window curve-tcg-lines TCG_LINES.BIN 50
window curve-jis-dac JIS_DAC.BIN 50
window curve-jis-custom JIS_CUSTOM.BIN 50
window curve-cn-dac-straight CN_DAC_STRAIGHT.BIN 50
window curve-cn-dac-curved CN_DAC_CURVED.BIN 50
window curve-dgs-backwall DGS_BACKWALL.BIN 50
window curve-dgs-disc-own-diagram DGS_DISC_OWN_DIAGRAM.BIN 50
window curve-dgs-hole-listed-probe DGS_HOLE_LISTED_PROBE.BIN 50

# Frame 120 of the plain scan, gate A dragged onto the second echo and gate B onto the first.
window gates-dragged PLAIN_SCAN.BIN 120 --gate-a 32,40 --gate-b 22,50

# A search for echoes of 88 % and more between 150 and 230 on the 0..800 scale.
window search PLAIN_SCAN.BIN 128 --search-box 150,230,88,100

# A video range from frame 1100 to frame 1400, the end point moved last.
window avi-range PLAIN_SCAN.BIN 1400 --range 1100,1400

# The overview strip of the demo.
"$pelix" overview "$samples/DEMO.BIN" -o "$out/overview.png" 2>/dev/null
echo "$out/overview.png"

# The report of the demo's flagged frames: its first two pages, from a copy of the demo with
# the inspection details and two bookmarks in its review file.
cp "$samples/DEMO.BIN" "$work/DEMO.BIN"
export XDG_DATA_HOME="$work/data"
"$pelix" inspection "$work/DEMO.BIN" --set PartId=W-17 --set Location="north girth weld, 0-300 mm" \
  --set Procedure=UT-PA-04 --set ProcedureRevision=C --set AcceptanceStandard="Level 2" \
  --set Operator="J. Smith" --set CertificationLevel=2 --set Instrument="Pelix UT 3" \
  --set InstrumentSerial=45110 --set Probe="45 deg, 4 MHz, 8x9 mm" --set ProbeSerial=7781 \
  --set CalibrationBlock=K1 --set Couplant=gel --set ReferenceGain="42.5 dB" --set Date=2026-12-08 \
  --set Notes="Scanned from the cap side." >/dev/null
first_flag=$("$pelix" overview "$samples/DEMO.BIN" --json | grep -o '"Flags": *\[[0-9]*' | grep -o '[0-9]*$')
"$pelix" bookmarks "$work/DEMO.BIN" --add "${first_flag:-1}" "indication at the root, confirm with a second probe" >/dev/null
"$pelix" bookmarks "$work/DEMO.BIN" --add 1 "start of the scan" >/dev/null
"$pelix" report "$work/DEMO.BIN" -o "$work/report.pdf" 2>/dev/null
for page in 1 2; do
  pdftoppm -png -r 60 -f "$page" -l "$page" -singlefile "$work/report.pdf" "$out/report-page$page"
  echo "$out/report-page$page.png"
done
