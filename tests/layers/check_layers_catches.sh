#!/usr/bin/env bash
# The direction check must name every include that runs up the tree, and pass a tree
# whose includes all run down. Usage: check_layers_catches.sh CHECK_SCRIPT
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{layout,core/numbers,ascanview,player/{controls,display,ui,report},platform/video,tools}
printf '#include "layout/a.h"\n#include <cstdint>\n' > "$tree/core/numbers/ok.h"
printf '#include "core/numbers/ok.h"\n#include <QWidget>\n' > "$tree/ascanview/ok.cpp"
printf '#include <libavformat/avformat.h>\n' > "$tree/platform/video/ok.cpp"
printf '#include "player/x.h"\n' > "$tree/tools/ok.cpp"
printf '#include "player/controls/c.h"\n#include "player/display/ok.h"\n' > "$tree/player/ui/ok.cpp"
printf '#include "player/report/r.h"\n' > "$tree/player/main.cpp"
"$check" "$tree" > /dev/null || { echo "a tree that runs down was refused"; exit 1; }

printf '#include "player/window.h"\n' > "$tree/core/numbers/up.h"
printf '  #  include <QString>\n' > "$tree/layout/toolkit.h"
printf '#include "tools/pelix/x.h"\n' > "$tree/player/up.cpp"
printf '#include <libavcodec/avcodec.h>\n' > "$tree/ascanview/codec.cpp"
printf '#include <libswscale/swscale.h>\n' > "$tree/platform/scale.cpp"
printf '#include "player/ui/window.h"\n' > "$tree/player/display/up.h"
mkdir -p "$tree/player/sketch"
printf '#include "player/ui/window.h"\n' > "$tree/player/sketch/new.cpp"
out=$("$check" "$tree")
status=$?
[ "$status" -eq 1 ] || { echo "exit $status, expected 1"; exit 1; }
for expected in "core/numbers/up.h:1: core may not include player/" "layout/toolkit.h:1: layout is Qt-free" \
                "player/up.cpp:1: player may not include tools/" "ascanview/codec.cpp:1: only platform/video/ includes FFmpeg" \
                "platform/scale.cpp:1: only platform/video/ includes FFmpeg" \
                "player/display/up.h:1: player/display may not include player/ui/" \
                "player/sketch/new.cpp:1: player/sketch or player/ui is not in player's folder order"; do
  grep -qF "$expected" <<<"$out" || { echo "missing: $expected"; echo "$out"; exit 1; }
done
[ "$(wc -l <<<"$out")" -eq 7 ] || { echo "expected 7 lines:"; echo "$out"; exit 1; }
echo "check-layers names each include that runs up"
