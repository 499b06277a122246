#!/usr/bin/env bash
# The core link check must name an include of a core folder whose library is not linked,
# and a core folder the build has no library for; and pass a tree that keeps to its links.
# Usage: check_core_links_catches.sh CHECK_SCRIPT
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/core/{numbers,frame,report}
printf 'pelix_numbers: pelix_warnings\npelix_frame: pelix_numbers pelix_layout\npelix_report: pelix_frame pelix_numbers\n' > "$tree/closure.txt"
printf '#include "core/numbers/a.h"\n#include "layout/x.h"\n#include "core/frame/own.h"\n' > "$tree/core/frame/ok.cpp"
printf '#include "core/frame/b.h"\n#include "core/numbers/a.h"\n' > "$tree/core/report/ok.h"
"$check" "$tree/closure.txt" "$tree" > /dev/null || { echo "a tree that keeps to its links was refused"; exit 1; }

printf '#include "core/report/r.h"\n' > "$tree/core/frame/up.cpp"
printf '#include "layout/x.h"\n' > "$tree/core/report/layout.h"
mkdir -p "$tree/core/stray"
out=$("$check" "$tree/closure.txt" "$tree")
status=$?
[ "$status" -eq 1 ] || { echo "exit $status, expected 1"; exit 1; }
for expected in "core/frame/up.cpp:1: pelix_frame does not link pelix_report" \
                "core/report/layout.h:1: pelix_report does not link pelix_layout" \
                "core/stray: the build has no library pelix_stray"; do
  grep -qF "$expected" <<<"$out" || { echo "missing: $expected"; echo "$out"; exit 1; }
done
[ "$(wc -l <<<"$out")" -eq 3 ] || { echo "expected 3 lines:"; echo "$out"; exit 1; }
echo "check-core-links names each include its library does not link"
