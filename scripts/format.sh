#!/usr/bin/env bash
# Formats every tracked C++ file in place with clang-format and the repository's .clang-format.
#   scripts/format.sh           format in place
#   scripts/format.sh --check   change nothing; list the files that differ from the format and fail
# Exits 77 when clang-format is missing (Debian's clang-format package; scripts/install-deps.sh installs it).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
check=false
case "${1:-}" in
  --check) check=true ;;
  "") ;;
  *) echo "usage: scripts/format.sh [--check]" >&2; exit 2 ;;
esac
formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" > /dev/null; then
  echo "format.sh: $formatter is not installed (apt-get install clang-format)" >&2
  exit 77
fi

# The tracked sources; outside a git checkout, the C++ files of the source folders.
files=()
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  while IFS= read -r -d '' file; do
    [ -f "$file" ] && files+=("$file")
  done < <(git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.cxx' '*.inl')
else
  while IFS= read -r -d '' file; do
    files+=("${file#./}")
  done < <(find . \( -path './build*' -o -path './.git' \) -prune -o -type f \
             \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' -o -name '*.cxx' -o -name '*.inl' \) \
             -print0 | sort -z)
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "format.sh: no C++ files found" >&2
  exit 1
fi

if ! $check; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$formatter" -i --style=file
  echo "formatted ${#files[@]} files"
  exit 0
fi

# clang-format reports each place that differs as "FILE:LINE:COL: error: code should be clang-formatted".
report=$(printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$formatter" --dry-run --Werror --style=file 2>&1 || true)
drifted=$(printf '%s\n' "$report" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
other=$(printf '%s\n' "$report" | grep -E '^[^ ].*: error: ' | grep -v 'code should be clang-formatted' || true)
if [ -n "$other" ]; then
  echo "format.sh: clang-format failed:" >&2
  printf '%s\n' "$other" >&2
  exit 1
fi
if [ -n "$drifted" ]; then
  count=$(printf '%s\n' "$drifted" | wc -l)
  echo "$count of ${#files[@]} C++ files differ from .clang-format (run scripts/format.sh to format them):"
  printf '%s\n' "$drifted" | sed "s|^$here/||; s|^|  |"
  exit 1
fi
echo "all ${#files[@]} C++ files follow .clang-format"
