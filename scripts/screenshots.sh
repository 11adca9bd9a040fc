#!/usr/bin/env bash
# Takes the README's screenshots offscreen from the operator's road tests, so
# they always show the program as it is: the player settings page, the
# registered contents and the status after a send; a composed playlist, a
# schedule and the group's calendar. Then each dialog a new
# operator meets, at its own size, the status rows of a large send and the
# overview's first arrangement, from the layout tests, which fail when a text
# in one is cut short or a pane covers another.
set -euo pipefail
build=${1:-build}
out=$(cd "$(dirname "$0")/.." && pwd)/docs/screenshots
mkdir -p "$out"
cd "$build"
QT_QPA_PLATFORM=offscreen TELV_SCREENSHOT_DIR="$out" \
  ./tests/ui/ui_tests --gtest_filter='OperatorRoad.FromAnEmptyDataFolderToContentsOnEveryPlayerOfTheGroup:ScheduleRoad.*:DialogLayout.*:ContentsPane.ColumnsHoldTheirHeadingsDatesPathsAndAddresses'
echo "screenshots in $out"
