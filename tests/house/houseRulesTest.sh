#!/usr/bin/env bash
# The house rules on small trees of their own: an include of any higher layer fails and is named by
# file and line, from a layer's top folder or a sub-folder; includes of the own layer and of every
# lower one pass; a relative include, a folder outside the table of layers and a configuration
# chosen by the preprocessor fail.
set -uo pipefail
rules=${1:?houseRules.sh}
# The layers from the bottom up, as the README gives them.
layers=(base files config graphics media scenario presentation flow variants app)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

# plant RELATIVE-PATH LINE...: a source file of the tree (CR LF lines, as any source may have).
plant() {
  local file=$tree/src/$1
  [ -d "${file%/*}" ] || mkdir -p "${file%/*}"
  shift
  printf '%s\r\n' "$@" >"$file"
}
# A tree with one header in every layer and nothing else.
fresh() {
  rm -rf "$tree/src"
  for layer in "${layers[@]}"; do plant "$layer/one.h" '#pragma once'; done
}

# The rules on the tree: expect pass WHAT, or expect fail WHAT TEXT... (each TEXT named in the
# report).
expect() {
  local out rc verdict=$1 what=$2
  shift 2
  out=$(bash "$rules" "$tree/src" 2>&1)
  rc=$?
  if [ "$verdict" = pass ] && [ $rc -ne 0 ]; then
    echo "FAIL: $what was refused:"; echo "$out"; failures=$((failures + 1))
    return
  fi
  if [ "$verdict" = fail ] && [ $rc -eq 0 ]; then
    echo "FAIL: $what passed"; failures=$((failures + 1))
  fi
  for text in "$@"; do
    if ! grep -qF -- "$text" <<<"$out"; then
      echo "FAIL: $what: not named: $text"; failures=$((failures + 1))
    fi
  done
}

# Every layer includes itself and every lower one, from its top folder and from a sub-folder.
fresh
for ((low = 0; low < ${#layers[@]}; low++)); do
  for ((high = low; high < ${#layers[@]}; high++)); do
    l=${layers[low]} h=${layers[high]}
    plant "$h/down_$l.cpp" '// below' '#include "'"$l"'/one.h"'
    plant "$h/part/down_$l.h" '#pragma once' '  #  include "'"$l"'/part/two.h"  // spaced'
  done
done
expect pass "the own layer and the lower ones"

# Every layer includes every higher one: each include named by file and line.
fresh
named=()
for ((low = 0; low < ${#layers[@]}; low++)); do
  for ((high = low + 1; high < ${#layers[@]}; high++)); do
    l=${layers[low]} h=${layers[high]}
    plant "$l/up_$h.cpp" '#include "'"$l"'/one.h"' '' '#include "'"$h"'/one.h"'
    plant "$l/part/up_$h.h" '#pragma once' '  #  include "'"$h"'/part/two.h"  // spaced'
    named+=("$l/up_$h.cpp:3: $l includes the higher layer $h"
            "$l/part/up_$h.h:2: $l includes the higher layer $h")
  done
done
expect fail "upward includes" "${named[@]}"
[ "$(bash "$rules" "$tree/src" | grep -c 'includes the higher layer')" -eq ${#named[@]} ] ||
  { echo "FAIL: not one report per upward include"; failures=$((failures + 1)); }

fresh
plant "base/up.cpp" '#include "../app/one.h"'
plant "tools/loose.cpp" '#include "base/one.h"'
plant "scenario/chosen.cpp" '#ifdef MORVANE_EARLIER' '#endif'
expect fail "the other refusals" 'base/up.cpp:1: "../app/one.h" is not written from src/' \
  "tools/loose.cpp:1: tools is not in the table of layers" "scenario/chosen.cpp:1:#ifdef MORVANE_EARLIER"

[ $failures -eq 0 ] && echo "house rules: every case as expected"
exit $((failures > 0))
