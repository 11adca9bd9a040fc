#!/usr/bin/env bash
# Fetches the Flash runtime the embedded browser plays movies with (the
# WebAssembly build of the npm package pinned, version and integrity, in
# scripts/flash-runtime/package-lock.json) into third_party/flash-runtime,
# which git ignores; the build copies it beside the program. Does nothing
# when the pinned version is already there. Without npm, nodejs and npm are
# installed from Debian first. A failed fetch only warns: the program runs
# without the runtime and logs why Flash thumbnails fall back.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dest="$here/../third_party/flash-runtime"
pins="$here/flash-runtime"
if [ -f "$dest/node_modules/@ruffle-rs/ruffle/ruffle.js" ] \
   && cmp -s "$pins/package-lock.json" "$dest/package-lock.json"; then
  exit 0
fi
command -v npm >/dev/null || bash "$here/setup.sh" packages-npm.txt
mkdir -p "$dest"
cp "$pins/package.json" "$pins/package-lock.json" "$dest/"
echo "setup: fetching the Flash runtime with npm ci"
if ! (cd "$dest" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error); then
  rm -f "$dest/package-lock.json"
  echo "setup: warning: the Flash runtime could not be fetched; Flash thumbnails fall back to the page without it" >&2
fi
