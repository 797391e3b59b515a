#!/usr/bin/env bash
# packerCli.sh <command that runs the packer...>: the packer as a program: help, a wrong command
# line, and a pack / list / extract round trip through real files.
set -u
work=$(mktemp -d /tmp/morvane-packer-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$@" --help >"$work/help" 2>&1 || fail "--help exits non-zero"
grep -q "Usage:" "$work/help" || fail "--help prints no usage"

"$@" pack --key 300 a b >"$work/stdout" 2>"$work/err"
[ $? -eq 2 ] || fail "a bad key does not exit with 2"
grep -q -- "--key takes 0 to 255" "$work/err" || fail "no clear message for a bad key"

"$@" pack "$work/missing" "$work/x.dat" >"$work/stdout" 2>"$work/err"
[ $? -eq 1 ] || fail "packing a missing folder does not exit with 1"
grep -q "not a folder" "$work/err" || fail "no clear message for a missing folder"

mkdir -p "$work/in/script" "$work/in/img/sub"
printf 'line one\r\nline two\r\n' >"$work/in/script/start.txt"
head -c 3000 /dev/urandom >"$work/in/img/sub/pic.png"
: >"$work/in/empty.txt"
"$@" pack --priority 5 --key 9 "$work/in" "$work/game.dat" >"$work/stdout" 2>&1 ||
  fail "pack failed: $(cat "$work/stdout")"
"$@" list "$work/game.dat" >"$work/list" 2>&1 || fail "list failed: $(cat "$work/list")"
grep -q "priority 5, 3 entries" "$work/list" || fail "list: $(cat "$work/list")"
grep -q 'img\\sub\\pic.png' "$work/list" || fail "list lacks the nested name"
"$@" extract "$work/game.dat" "$work/out" >"$work/x" 2>&1 || fail "extract failed: $(cat "$work/x")"
diff -r "$work/in" "$work/out" || fail "the extracted folder differs"

printf 'MORVPACK' >"$work/short.dat"
"$@" list "$work/short.dat" >"$work/stdout" 2>"$work/err"
[ $? -eq 1 ] || fail "a cut archive lists without error"
echo "packer command line: all checks passed"
