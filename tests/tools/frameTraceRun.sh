#!/usr/bin/env bash
# frameTraceRun.sh <wine-run> <build folder> <frameTrace.exe> <demo data folder>: the frame trace
# runs in a game folder of the demo and reports its trace and both kinds of frame.
set -euo pipefail
wine_run=$1 build=$2 exe=$3 data=$4
game=$(pwd)/frame-trace-game
rm -rf "$game"
mkdir -p "$game"
cp "$exe" "$game/"
cp -r "$data" "$game/data"
cd "$game"
"$wine_run" "$build" "$game/frameTrace.exe" 20 >out.txt 2>err.txt || { cat out.txt err.txt; exit 1; }
cat out.txt
for line in 'trace of one composed frame' 'compose the slots' 'present in the window' \
            'a composed frame, 20 frames' 'an idle frame (nothing changed), 20 frames' 'frames a second'; do
  grep -q -F "$line" out.txt || { echo "missing: $line"; exit 1; }
done
