#!/usr/bin/env bash
# Runs both delivered installers as a person's script would: on a fresh
# machine, with a script that closes the window; then a machine whose
# machine.ini is broken.
set -u
modern=$1
classic=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for exe in "$modern" "$classic"; do
  machine="$work/machine-$(basename "$exe")"
  out=$(printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$machine" "$exe" 2>"$work/err")
  status=$?
  [ $status -eq 0 ] || fail "$exe exited $status: $(cat "$work/err")"
  grep -q '^== Form1 "ZOV Rededi Dirirozo - Install"$' <<<"$out" || fail "$exe: no window in the transcript: $out"
  grep -q '^== Form1 closed$' <<<"$out" || fail "$exe: the window did not close: $out"
  [ -f "$machine/machine.ini" ] && [ -f "$machine/registry.reg" ] && [ -d "$machine/drives/C/Windows" ] \
    || fail "$exe: the machine folder was not made"
done

# The Vista/7 build carries its manifest, the XP build none.
grep -aq 'requestedExecutionLevel level="requireAdministrator"' "$modern" || fail "setupmodern.exe has no manifest"
grep -aq 'Microsoft.Windows.Common-Controls' "$modern" || fail "setupmodern.exe's manifest lacks common controls 6"
grep -aq 'requestedExecutionLevel' "$classic" && fail "setupclassic.exe carries a manifest"

# A machine.ini that does not parse: a clear message naming the line, exit 2, the file untouched.
bad="$work/bad"
mkdir -p "$bad"
printf '[Windows]\nMajorVersion=6\nMinorVersion=one\n' >"$bad/machine.ini"
cp "$bad/machine.ini" "$work/copy.ini"
printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$bad" "$modern" >/dev/null 2>"$work/err"
status=$?
[ $status -eq 2 ] || fail "a broken machine.ini gave exit $status"
grep -q 'machine.ini:3:' "$work/err" || fail "the message does not name the line: $(cat "$work/err")"
cmp -s "$bad/machine.ini" "$work/copy.ini" || fail "the broken machine.ini was changed"

# Wrong numbers, an overflow, a key twice, a byte order mark, a NUL, bad UTF-8, an empty file: the same.
drive='[Drive C]\nType=3\n'
for text in '[Drive C]\nType=-1\n' '[Windows]\nMajorVersion=4294967302\n'"$drive" \
            "$drive"'[Drive C]\nType=3\n' '\xef\xbb\xbf'"$drive" '[Windows]\nUserName=a\0b\n'"$drive" \
            '[Windows]\nUserName=\xc3\x28\n'"$drive" ''; do
  rm -rf "$bad" && mkdir -p "$bad"
  printf "$text" >"$bad/machine.ini"
  cp "$bad/machine.ini" "$work/copy.ini"
  printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$bad" "$modern" >/dev/null 2>"$work/err"
  status=$?
  [ $status -eq 2 ] || fail "machine.ini '$text' gave exit $status"
  grep -q 'machine.ini:[1-9][0-9]*: ' "$work/err" || fail "no line named for '$text': $(cat "$work/err")"
  cmp -s "$bad/machine.ini" "$work/copy.ini" || fail "machine.ini '$text' was changed"
done

# A script that leaves the window open is an error, not a success.
printf '' | ZOV_UI=script ZOV_MACHINE="$work/open" "$modern" >/dev/null 2>"$work/err"
[ $? -eq 3 ] || fail "a script ending with the window open did not fail"
echo "installer runs: ok"
