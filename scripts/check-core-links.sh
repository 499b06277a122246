#!/usr/bin/env bash
# Each folder of core/ is one library, pelix_<folder>. A file there may include another core
# folder only when its library links that folder's library (directly or not), as the build
# says in CLOSURE (written at configure time, "target: dep dep ..."). Exits 1 and names every
# include whose library is not linked.  Usage: check-core-links.sh CLOSURE [ROOT]
set -uo pipefail
closure=$(realpath -- "$1" 2>/dev/null || echo "$1")
root=${2:-$(cd "$(dirname "$0")/.." && pwd)}
[ -r "$closure" ] || { echo "check-core-links: cannot read $closure"; exit 2; }
cd "$root" || exit 2

declare -A links
while IFS= read -r line; do
  links[${line%%:*}]=" ${line#*: } "
done < "$closure"

bad=0
for dir in core/*/; do
  folder=$(basename "$dir")
  target=pelix_$folder
  if [ -z "${links[$target]+set}" ]; then
    echo "core/$folder: the build has no library $target"
    bad=1
    continue
  fi
  while IFS= read -r line; do
    file=${line%%:*}
    rest=${line#*:}
    lineno=${rest%%:*}
    include=${rest#*:}
    [[ $include =~ \#[[:space:]]*include[[:space:]]*\"(core|layout)/([A-Za-z0-9_-]+)/ ]] || \
      [[ $include =~ \#[[:space:]]*include[[:space:]]*\"(layout)/ ]] || continue
    if [ "${BASH_REMATCH[1]}" = layout ]; then
      needed=pelix_layout
    else
      needed=pelix_${BASH_REMATCH[2]}
      [ "$needed" = "$target" ] && continue
    fi
    if [[ ${links[$target]} != *" $needed "* ]]; then
      echo "$file:$lineno: $target does not link $needed ($include)"
      bad=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$dir" --include='*.h' --include='*.cpp' 2>/dev/null)
done
if [ "$bad" -eq 0 ]; then
  echo "check-core-links: every core folder includes only what its library links"
fi
exit "$bad"
