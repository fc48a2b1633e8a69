#!/usr/bin/env bash
# Checks that the project's own C++ files are laid out as .clang-format says (clang-format 14):
# prints each difference and fails when there is one. With --fix it rewrites the files instead
# (`make format`).
set -euo pipefail

cd "$(dirname "$0")/.."

fix=0
case "${1:-}" in
  --fix) fix=1 ;;
  "") ;;
  *) echo "usage: scripts/check-format.sh [--fix]" >&2; exit 2 ;;
esac

# clang-format 14 first: another version may lay the same file out differently.
tool=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null; then tool="$candidate"; break; fi
done
if [ -z "$tool" ]; then
  echo "check-format.sh: clang-format is not installed (bash scripts/install-deps.sh format)" >&2
  exit 2
fi

# The project's own files: those git knows of, or every one below the source folders when
# this is not a checkout.
folders=(engine components ui windows frontend console web desktop tests tools bench)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- \
    "${folders[@]/%//*.cpp}" "${folders[@]/%//*.h}" | sort -u)
else
  mapfile -t files < <(find "${folders[@]}" -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
fi
# Files listed but since removed from the working tree are not checked.
present=()
for f in "${files[@]}"; do [ -f "$f" ] && present+=("$f"); done
[ ${#present[@]} -eq 0 ] && { echo "check-format.sh: no C++ files found" >&2; exit 2; }

if [ "$fix" = 1 ]; then
  "$tool" -i --style=file "${present[@]}"
  echo "Formatted ${#present[@]} files with $tool"
  exit 0
fi

if ! "$tool" --dry-run --Werror --style=file "${present[@]}"; then
  echo "check-format.sh: files differ from .clang-format; 'make format' rewrites them" >&2
  exit 1
fi
echo "${#present[@]} files are formatted as .clang-format says"
