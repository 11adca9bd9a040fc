#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt (or in the lists
# named as arguments, such as packages-fuzz.txt) that are not yet installed.
# Runs apt-get only when something is missing, so a prepared machine pays
# nothing. Without a list named, it then fetches the Flash runtime
# (scripts/fetch_flash_runtime.sh), which does nothing when it is there.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
lists=("$@")
[ ${#lists[@]} -eq 0 ] && lists=(packages.txt)
missing=()
for list in "${lists[@]}"; do
while read -r pkg; do
  pkg="${pkg%%#*}"; pkg="$(echo "$pkg" | xargs)"
  [ -z "$pkg" ] && continue
  status="$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)"
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done < "$here/$list"
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The program's own set-up (no list named) also fetches the Flash runtime.
[ $# -eq 0 ] && bash "$here/fetch_flash_runtime.sh"
exit 0
