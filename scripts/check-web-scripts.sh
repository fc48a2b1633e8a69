#!/usr/bin/env bash
# Checks the page's scripts (web/*.js): ESLint finds faults, Prettier keeps the layout that
# .prettierrc.json says. Both come from the npm registry at the versions package-lock.json pins,
# installed into node_modules/ when missing or out of date. With --fix Prettier rewrites the
# files and ESLint mends what it can (`make web-format`).
set -euo pipefail

cd "$(dirname "$0")/.."

fix=0
case "${1:-}" in
  --fix) fix=1 ;;
  "") ;;
  *) echo "usage: scripts/check-web-scripts.sh [--fix]" >&2; exit 2 ;;
esac

if ! command -v npm >/dev/null; then
  echo "check-web-scripts.sh: npm is not installed (bash scripts/install-deps.sh web-lint)" >&2
  exit 2
fi
# npm notes what it installed in node_modules/.package-lock.json; a newer lock file means the
# pinned versions changed.
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi

files=(web/*.js)
if [ "$fix" = 1 ]; then
  npx --no-install prettier --log-level warn --write "${files[@]}"
  npx --no-install eslint --fix "${files[@]}"
else
  npx --no-install prettier --check "${files[@]}"
  npx --no-install eslint --max-warnings 0 "${files[@]}"
fi
