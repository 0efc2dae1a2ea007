#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from the project's .clang-format, as the clang-format
# that scripts/packages.txt pins (clang-format-14, Debian 12) formats it. `scripts/check-format.sh
# --fix` formats them instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
formatter=clang-format-14
if ! command -v "$formatter" >/dev/null; then
  [[ $(id -u) == 0 ]] || { echo "check-format: needs $formatter (package clang-format-14)" >&2; exit 1; }
  apt-get update -q && apt-get install -y -q --no-install-recommends clang-format-14
fi
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
if [[ "${1:-}" == --fix ]]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
if ! out=$("$formatter" --dry-run --Werror "${files[@]}" 2>&1); then
  grep 'error:' <<<"$out" | cut -d: -f1 | sort -u | sed 's/^/check-format: differs from .clang-format: /' >&2
  echo "check-format: run scripts/check-format.sh --fix" >&2
  exit 1
fi
echo "check-format: ok: ${#files[@]} files as .clang-format says"
