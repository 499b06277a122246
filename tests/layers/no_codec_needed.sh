#!/usr/bin/env bash
# The control and the shared platform library load no codec: only what writes a
# video links FFmpeg. Reads each library's NEEDED entries and names every
# libav*/libsw* among them.  Usage: no_codec_needed.sh LIBRARY...
set -uo pipefail
bad=0
for library in "$@"; do
  needed=$(readelf -d "$library" 2>/dev/null | sed -n 's/.*(NEEDED).*\[\(.*\)\].*/\1/p')
  # Every shared object needs the C library; nothing read means readelf failed.
  if [ -z "$needed" ]; then
    echo "$library: no NEEDED entries read"
    bad=1
    continue
  fi
  while IFS= read -r name; do
    case $name in
      libav* | libsw*) echo "$library needs $name"; bad=1 ;;
    esac
  done <<<"$needed"
done
[ "$bad" -eq 0 ] && echo "no codec library among: $*"
exit "$bad"
