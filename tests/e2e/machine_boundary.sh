#!/usr/bin/env bash
# The machine folder is a boundary. Hard links from every kind of file the
# installer writes to files outside, the machine's own files as hard links
# (replaced, or refused for the log) and as symbolic links (the machine does
# not open), relative Host= values that lead out or through a link (refused
# with their line), and a machine folder and program folder named with
# blanks, quotes, a newline and bytes that are not UTF-8. After every run
# each file outside the machine folders is byte for byte as before.
# Usage: machine_boundary.sh setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
modern=$1 modern_payload=$2 classic=$3
dest='C:\Program Files\ZOV Zuzuzu Rudavero 5'
machines="$work/machines" outside="$work/outside"
mkdir -p "$machines" "$outside"

# Every file outside the machine folders, with its content.
snapshot() { (cd "$work" && find . -path ./machines -prune -o -type f -print0 | sort -z | xargs -0 sha256sum); }
unchanged() {  # WHAT
  snapshot >"$machines/after"
  cmp -s "$machines/before" "$machines/after" || fail "$1: files outside the machine folder changed:
$(diff "$machines/before" "$machines/after")"
}
# link MACHINE-FILE NAME: the file becomes a hard link of a new outside file NAME.
link() {
  mkdir -p "$(dirname "$1")"
  printf 'outside file %s\n' "$2" >"$outside/$2"
  rm -f "$1"
  ln "$outside/$2" "$1"
}
stamped() {  # WHAT MACHINE: every line of the log is one event with its stamp
  grep -qv '^[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\.[0-9]\{3\}Z ' "$2/log" \
    && fail "$1: a log line without its stamp: $(grep -v '^....-..-..T' "$2/log" | head -2)"
  return 0
}
millis() { date -u -d "$(printf '%s' "$1" | cut -c1-24)" +%s%3N; }

# Every kind of file the modern build writes on 7, each a hard link of an
# outside file, and the machine's state files as hard links too: the product
# files, the sample project, the settings file and the shortcuts are replaced
# by new files renamed over them, UserF.dat (written in place) is refused as
# a locked file without a box; the temporary member's link is
# deleted; the state files are saved as new files.
m="$machines/hard-links"
fresh "$modern" "$m" 2 6 1
ini "$m" 'Program vcredist_x86.exe' RunsFor 5000
c="$m/drives/C" user="$m/drives/C/Users/user"
link "$(host_path "$m" "$dest")/MCD28m.wav" product
link "$(host_path "$m" "$dest")/UserF.dat" userf
link "$c/Windows/system32/zoveffs.dll" library
link "$user/Documents/ZOV Projects/SampleProject.qev" sample
link "$user/AppData/Local/Zideruv/ZOV4/Dizin" settings
link "$user/Desktop/ZOV Zuzuzu Rudavero 5.lnk" desktop
link "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZOV Zuzuzu Rudavero 5/Kineloft.lnk" menu
link "$user/AppData/Local/Temp/ZOVTMP/MCD28m.wa_" member
cp "$m/registry.reg" "$machines/registry"
link "$m/registry.reg" registry && cp "$machines/registry" "$m/registry.reg"
link "$m/attributes" attributes && printf '; DOS attributes\n' >"$m/attributes"
link "$m/progman.ini" progman && printf '[Other]\n' >"$m/progman.ini"
for lock in registry.reg.lock attributes.lock; do link "$m/$lock" "$lock"; done
snapshot >"$machines/before"
run "$modern" "$m" < <(walk_to_install "$dest"; echo 'click Command2')
[ $status -eq 0 ] || fail "hard links: exited $status: $(tail -3 "$m.out") $(cat "$m.err")"
grep -q '^   Command2: \[Finish\]$' "$m.out" || fail "hard links: no finish page"
unchanged "hard links"
[ "$(stat -c %h "$m/registry.reg")" = 1 ] || fail "hard links: registry.reg was not saved as a file of its own"
hivex "$m" | grep -q 'ZOVScreenRecorder5' || fail "hard links: the uninstall entry is not in registry.reg"
for f in "$(host_path "$m" "$dest")/MCD28m.wav" "$c/Windows/system32/zoveffs.dll"; do
  cmp -s "$modern_payload/sample/$(basename "$f")" "$f" || fail "hard links: $f is not the product's file"
  [ "$(stat -c %h "$f")" = 1 ] || fail "hard links: $f was written in place"
done
[ -e "$user/AppData/Local/Temp/ZOVTMP" ] && fail "hard links: the temporary folder stayed"
for f in "$user/Desktop/ZOV Zuzuzu Rudavero 5.lnk" \
  "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZOV Zuzuzu Rudavero 5/Kineloft.lnk"; do
  [ "$(stat -c %h "$f")" = 1 ] && [ "$(head -c 4 "$f" | od -An -tx1 | tr -d ' ')" = 4c000000 ] \
    || fail "hard links: $f is not a shortcut of its own"
done
# The log on the machine's clock: the runtime package's 5000 ms between its start and its end.
stamped "hard links" "$m"
started=$(grep 'started process 2412:' "$m/log") ended=$(grep 'waited for process 2412 to end' "$m/log")
[ "$(($(millis "$ended") - $(millis "$started")))" = 5000 ] \
  || fail "hard links: the log's stamps do not follow the machine's clock: $started / $ended"

# The classic build on XP with its main program a hard link: a new file is renamed over it.
m="$machines/main-program"
fresh "$classic" "$m" 2 5 1
link "$(host_path "$m" "$dest")/Zuzuzu Rudavero 5.exe" main
snapshot >"$machines/before"
run "$classic" "$m" < <(walk_to_install "$dest"; echo 'click Command2')
[ $status -eq 0 ] || fail "main program: exited $status: $(tail -3 "$m.out") $(cat "$m.err")"
grep -q '^   Command2: \[Finish\]$' "$m.out" || fail "main program: no finish page"
unchanged "main program"
[ "$(stat -c %h "$(host_path "$m" "$dest")/Zuzuzu Rudavero 5.exe")" = 1 ] || fail "main program: written in place"

# The machine's own files as links to outside files of the same content, and
# "drives" as a link to an outside folder: the machine does not open (exit 2),
# naming the file.
base="$machines/base"
fresh "$modern" "$base" 2 6 1
printf '[Other]\n' >"$base/progman.ini"
printf '; DOS attributes\n' >"$base/attributes"
printf '2020-01-01T00:00:00.000Z an event\n' >"$base/log"
mkdir -p "$outside/drives"
for own in log:symbolic machine.ini:symbolic registry.reg:symbolic attributes:symbolic progman.ini:symbolic \
  log:hard drives:symbolic; do
  name=${own%%:*} kind=${own#*:} m="$machines/$name-$kind"
  rm -rf "$m" && cp -a "$base" "$m"
  if [ "$name" = drives ]; then
    rm -rf "$m/drives" && ln -s "$outside/drives" "$m/drives"
  else
    cp "$m/$name" "$outside/$name-$kind"
    rm "$m/$name"
    if [ "$kind" = hard ]; then ln "$outside/$name-$kind" "$m/$name"; else ln -s "$outside/$name-$kind" "$m/$name"; fi
  fi
  snapshot >"$machines/before"
  run "$modern" "$m" < <(printf 'close Form1\nanswer Yes\n')
  [ $status -eq 2 ] || fail "$name as a $kind link: exited $status, not 2"
  grep -qF "$m/$name" "$m.err" || fail "$name as a $kind link: the refusal does not name it: $(cat "$m.err")"
  unchanged "$name as a $kind link"
  [ -z "$(ls -A "$outside/drives")" ] || fail "$name as a $kind link: a folder was made outside"
done

# Relative Host= values that lead out of the machine folder or pass through
# a link, also one that a later ".." leaves again: refused with their line.
mkdir -p "$machines/x" "$outside/y" "$base/sub"
ln -s "$outside" "$base/link"
ln -s "$outside" "$base/sub/alnk"
for host in .. ../x x/../../y link link/y sub/alnk sub/alnk/.. link/y/../..; do
  m="$machines/host"
  rm -rf "$m" && cp -a "$base" "$m"
  ini "$m" 'Drive F' Type 4
  ini "$m" 'Drive F' Host "$host"
  line=$(grep -nxF "Host=$host" "$m/machine.ini" | cut -d: -f1)
  snapshot >"$machines/before"
  run "$modern" "$m" < <(printf 'close Form1\nanswer Yes\n')
  [ $status -eq 2 ] || fail "Host=$host: exited $status, not 2"
  grep -qF "machine.ini:$line: Host=$host " "$m.err" || fail "Host=$host: its line is not named: $(cat "$m.err")"
  unchanged "Host=$host"
done

# A machine folder and a program folder with blanks, quotes, a newline and
# bytes that are not UTF-8: a whole installation, the program's folder a
# single line of the log.
m="$machines/$(printf 'a b "q" \x27s\nnext \xff')"
program="$work/$(printf 'prog "x" \x27y\x27\nz \xfe')"
mkdir -p "$program" && cp "$modern" "$program/setupmodern.exe"
fresh "$program/setupmodern.exe" "$m" 2 6 1
snapshot >"$machines/before"
run "$program/setupmodern.exe" "$m" < <(walk_to_install "$dest"; echo 'click Command2')
[ $status -eq 0 ] || fail "odd names: exited $status: $(tail -3 "$m.out") $(cat "$m.err")"
grep -q '^   Command2: \[Finish\]$' "$m.out" || fail "odd names: no finish page"
unchanged "odd names"
stamped "odd names" "$m"
grep -qF "prog \"x\" 'y'%0Az %FE is drive" "$m/log" || fail "odd names: the program's folder is not escaped: $(head -2 "$m/log")"
echo "PASS"
