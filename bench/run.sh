#!/usr/bin/env bash
# Runs every benchmark executable of a build: bench/run.sh [build-folder]
set -uo pipefail
build=${1:-build}
status=0
found=0
for exe in "$build"/bench/*; do
  [[ -f $exe && -x $exe ]] || continue
  found=1
  echo "== $(basename "$exe")"
  "$exe" || status=1
done
if [[ $found == 0 ]]; then
  echo "no benchmark executables in $build/bench (build the 'benchmarks' target first)" >&2
  exit 1
fi
exit $status
