#!/usr/bin/env bash
# Rules of the source tree that the compiler does not see:
# - each folder of src/ is a layer, its sub-folders part of it; a layer includes its own headers and
#   those of the layers below it, never a higher one (an upward call is a hook registered at
#   start-up); every include is written from src/ ("layer/file.h");
# - the configuration is chosen by the build lists, never by the preprocessor in src/.
set -uo pipefail
src=${1:?source folder}
status=0
# The layers from the bottom up.
layers="base files config graphics media scenario presentation flow variants app"
wrong=$(grep -rnE --include='*.cpp' --include='*.h' --include='*.inc' \
             '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$src" |
        awk -v src="${src%/}/" -v layers="$layers" '
          BEGIN { n = split(layers, order, " "); for (i = 1; i <= n; i++) rank[order[i]] = i }
          {
            # path:line:text
            colon = index($0, ":"); file = substr($0, 1, colon - 1); rest = substr($0, colon + 1)
            colon = index(rest, ":"); line = substr(rest, 1, colon - 1); text = substr(rest, colon + 1)
            from = substr(file, length(src) + 1); sub(/\/.*/, "", from)
            match(text, /"[^"]*"/); name = substr(text, RSTART + 1, RLENGTH - 2)
            to = name; if (!sub(/\/.*/, "", to)) to = ""
            where = file ":" line ": "
            if (!(from in rank)) print where from " is not in the table of layers"
            else if (!(to in rank)) print where "\"" name "\" is not written from src/"
            else if (rank[to] > rank[from]) print where from " includes the higher layer " to ": \"" name "\""
          }')
if [ -n "$wrong" ]; then
  echo "includes against the order of the layers ($layers):"
  echo "$wrong"
  status=1
fi
ifdefs=$(grep -rn 'MORVANE_EARLIER' "$src" --include='*.cpp' --include='*.h' --include='*.inc')
if [ -n "$ifdefs" ]; then
  echo "configuration chosen by the preprocessor in src/ (link a per-configuration file instead):"
  echo "$ifdefs"
  status=1
fi
exit $status
