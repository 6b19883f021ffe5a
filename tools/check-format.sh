#!/usr/bin/env bash
# Fails, naming the files, when any C++ source differs from what clang-format makes of it.
# tools/check-format.sh --fix formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tools tests bench web -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=$(clang-format --dry-run "${files[@]}" 2>&1 | grep -oE '^[^:]+:[0-9]+:[0-9]+: warning' |
  cut -d: -f1 | sort -u || true)
if [ -n "$bad" ]; then
  echo "clang-format would change these files (tools/check-format.sh --fix):"
  printf '  %s\n' $bad
  exit 1
fi
echo "formatting: ${#files[@]} files as clang-format makes them"
