#!/usr/bin/env bash
# Fails when clang-format (with the repository's .clang-format) would change
# any C++ file git tracks; lists those files.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  echo "check-format: clang-format is not installed" >&2
  exit 1
fi
unformatted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
           git ls-files -z -- '*.cpp' '*.h'
         else # an unpacked archive: every source folder, no build folders
           find cal layout ascanview player platform tools tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0
         fi)
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: clang-format would change these files (run clang-format -i on them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format: every C++ file is formatted"
