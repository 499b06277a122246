#!/usr/bin/env bash
# The direction of the tree, read from the includes: layout <- cal <- core <- ascanview <- player,
# with platform below the control and the window, and tools beside the player. A folder may
# include only the folders below it; the Qt-free folders include no Qt and no FFmpeg header, and
# only the video writer (platform/video/) includes FFmpeg's. Exits 1 and names every include that
# runs the wrong way.  Usage: check-layers.sh [ROOT]   (ROOT defaults to the repository)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# folder: the top folders its files may include (itself always)
declare -A allowed=(
  [layout]="layout"
  [cal]="layout cal dac dgs readings"
  [core]="layout cal core"
  [platform]="platform"
  [ascanview]="layout cal core platform ascanview"
  [player]="layout cal core platform ascanview player"
  [tools]="layout cal core platform ascanview player tools"
)
toolkit_free="layout cal core"
# player/'s own folders, lowest first: a folder includes only itself and the folders before it.
# The B-scan window places itself beside the main window as the overview does, so it comes after
# it. The window (ui) wires the controllers below it; the report draws its pages through a window
# of its own, so it sits above ui. Files directly in player/ (main.cpp) may include any of them.
player_order=(controls display evaluation playback search export review overview bscan ui report)

player_rank() {
  local i
  for i in "${!player_order[@]}"; do
    [ "${player_order[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    rest=${line#*:}
    lineno=${rest%%:*}
    include=${rest#*:}
    if [[ $include =~ \#[[:space:]]*include[[:space:]]*\"([A-Za-z0-9_-]+)/ ]]; then
      top=${BASH_REMATCH[1]}
      if [[ " ${allowed[$folder]} " != *" $top "* ]]; then
        echo "$file:$lineno: $folder may not include $top/ ($include)"
        bad=1
      elif [[ $folder == player && $top == player && $file == player/*/* &&
              $include =~ \"player/([A-Za-z0-9_-]+)/ ]]; then
        to=${BASH_REMATCH[1]}
        from=${file#player/}
        from=${from%%/*}
        if [ "$(player_rank "$from")" -lt 0 ] || [ "$(player_rank "$to")" -lt 0 ]; then
          echo "$file:$lineno: player/$from or player/$to is not in player's folder order ($include)"
          bad=1
        elif [ "$(player_rank "$to")" -gt "$(player_rank "$from")" ]; then
          echo "$file:$lineno: player/$from may not include player/$to/ ($include)"
          bad=1
        fi
      fi
    elif [[ $include =~ \#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|libav[a-z]*|libsw[a-z]*)[/\>] ]]; then
      header=${BASH_REMATCH[1]}
      if [[ " $toolkit_free " == *" $folder "* ]]; then
        echo "$file:$lineno: $folder is Qt-free and includes <$header>"
        bad=1
      elif [[ $header == lib* && $file != platform/video/* ]]; then
        echo "$file:$lineno: only platform/video/ includes FFmpeg (<$header>)"
        bad=1
      fi
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$folder" --include='*.h' --include='*.cpp' --include='*.hpp' 2>/dev/null)
done
if [ "$bad" -eq 0 ]; then
  echo "check-layers: every include runs down the tree"
fi
exit "$bad"
