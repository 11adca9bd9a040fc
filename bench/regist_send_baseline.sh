#!/usr/bin/env bash
# Baseline of the registration send benchmark: PUTs the same files to every
# player with curl, one connection per player and a few players at a time.
#
#   regist_send_baseline.sh PLAYERS FILES CONCURRENCY USER:PASSWORD
#
# PLAYERS: lines "address port"; FILES: lines "local path<TAB>remote path,
# percent-encoded". Exits non-zero when any upload failed.
set -euo pipefail

players=$1
files=$2
concurrency=$3
credentials=$4

upload_player() {
  local address=$1 port=$2 config
  config=$(mktemp)
  while IFS=$'\t' read -r local remote; do
    printf 'upload-file = "%s"\nurl = "http://%s:%s/upload.php?href=%s"\noutput = "/dev/null"\n' \
      "$local" "$address" "$port" "$remote"
  done < "$files" > "$config"
  local status=0
  curl -sS --fail -H 'Expect:' -u "$credentials" -K "$config" || status=$?
  rm -f "$config"
  return $status
}
export -f upload_player
export files credentials

xargs -P "$concurrency" -L 1 bash -c 'upload_player "$0" "$1"' < "$players"
