#!/usr/bin/env bash
# Faults during a real installation, each ending as the installer handles
# it, read in the transcript and the machine folder: a full system drive
# (the main program cannot be extracted: the run ends), a locked target file
# (reported, the rest installed), a member damaged in the installer file
# or the installer file cut, padded or too long (refused before anything is
# written), a registry that refuses one AVIFile row (the others repaired),
# a Program Manager that does not answer, leftovers of earlier runs in the
# temporary folder, a host disk that fills up at any moment of an
# installation over an earlier version's. ZOV_SEED sets the random seed.
# Usage: faults_during_install.sh setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
modern=$1 modern_payload=$2 classic=$3 classic_payload=$4
seed=${ZOV_SEED:-$$}
RANDOM=$seed
dest='C:\Program Files\ZOV Zuzuzu Rudavero 5'
tmp='C:\Users\user\AppData\Local\Temp\ZOVTMP'
ends_clean() {  # WHAT MACHINE
  [ $status -eq 0 ] || fail "$1 exited $status: $(tail -3 "$2.out") $(cat "$2.err")"
  find "$2/drives" -iname zovtmp | grep -q . && fail "$1: the temporary folder stayed"
  hivex "$2" >/dev/null 2>&1 || fail "$1: registry.reg does not import"
}

# A full system drive, on XP with the classic build: the first two members
# fail to extract and expand, each reported; the main program's failure
# deletes the temporary files and ends the program. No settings, no shortcuts.
m="$work/full"
fresh "$classic" "$m" 2 5 1
ini "$m" 'Drive C' Full yes
run "$classic" "$m" < <(walk_to_install "$dest"
  for name in MCD28m MCU28m; do
    printf "answer OK Error in Extract File - 61 : File '%s\\\\%s.wa_' could not be written!Disk full\n" "$tmp" $name
    printf "answer OK File '%s.wav' could not be extracted!\n" $name
    printf "answer OK Error in ExpandFile: Couldn't decompress the file!\n"
  done
  printf "answer OK Error in Extract File - 61 : File '%s\\\\Zuzuzu Rudavero 5.ex_' could not be written!Disk full\n" "$tmp")
ends_clean "a full drive" "$m"
[ "$(grep -c '^?? box' "$m.out")" = 7 ] || fail "a full drive: not seven boxes"
[ "$(tail -n 1 "$m.out")" = '   Label11: "Temporary files are being deleted..."' ] \
  || fail "a full drive: the program did not end after the main program: $(tail -n 3 "$m.out")"
grep -q Zideruv "$m/registry.reg" && fail "a full drive: settings were written"
find "$m/drives" -name '*.lnk' | grep -q . && fail "a full drive: shortcuts were made"
[ -s "$(host_path "$m" "$dest")/MCD28m.wav" ] && fail "a full drive: a file was written"

# A locked target file on 7 with the modern build: its two boxes, the rest
# installed, no help shortcut for the help file that is not there, and a
# finish page that says the installation is not complete and offers no
# launch.
m="$work/locked"
fresh "$modern" "$m" 2 6 1
ini "$m" Faults LockedFiles "$dest\\ZOV5.chm"
run "$modern" "$m" < <(walk_to_install "$dest"
  printf "answer OK File in use : '%s\\\\ZOV5.chm'\nanswer OK ZOV help file could not be expanded!\nclick Command2\n" "$dest")
ends_clean "a locked file" "$m"
grep -q '^   Command2: \[Finish\]$' "$m.out" || fail "a locked file: no finish page"
grep -q 'Label11: "Installation of ZOV Rededi Dirirozo is not complete! Some of its files could not be installed."' "$m.out" \
  || fail "a locked file: the finish page does not say the installation is not complete"
grep -q 'successfully\|sucessfully' "$m.out" && fail "a locked file: success was claimed"
grep -q 'Check1: ' "$m.out" && fail "a locked file: the launch box was offered"
[ -e "$(host_path "$m" "$dest")/ZOV5.chm" ] && fail "a locked file: the help file was written"
cmp -s "$modern_payload/sample/Zuzuzu Rudavero 5.exe" "$(host_path "$m" "$dest")/Zuzuzu Rudavero 5.exe" \
  || fail "a locked file: the main program was not installed"
find "$m/drives" -name '*Help.lnk' | grep -q . && fail "a locked file: a shortcut to the missing help file"
[ "$(find "$m/drives" -name '*.lnk' | wc -l)" = 5 ] || fail "a locked file: not the five other shortcuts"

# A damaged installer file, in a copy of each installer: a changed byte in
# the help file's member (its expanded length, or its data), a byte cut
# from the end or appended to it, and (setupmodern) the payload behind a
# hole that makes the file longer than 2 GiB - 1. Each is refused with the
# short-file box before anything is written.
for build in modern classic; do
  if [ $build = modern ]; then
    exe=$modern payload=$modern_payload v='6 1' damages='length data cut appended hole'
  else
    exe=$classic payload=$classic_payload v='5 1' damages='length data'
  fi
  mkdir -p "$work/$build-copy"
  copy="$work/$build-copy/setup$build.exe"
  at=$(perl -e 'local $/; open(my $a, "<:raw", $ARGV[0]) or die; open(my $b, "<:raw", $ARGV[1]) or die;
                 print rindex(scalar <$a>, scalar <$b>)' "$exe" "$payload/members/ZOV5.ch_")
  [ "$at" -gt 0 ] || fail "$build: the help file's member is not in the installer"
  image=$(stat -c %s "$payload/setup$build.image")
  for damage in $damages; do
    what="$build with its $damage damaged"
    cp "$exe" "$copy"
    case $damage in
      length) printf '\377' | dd of="$copy" bs=1 seek=$((at + 12)) conv=notrunc status=none ;;
      data) printf 'X' | dd of="$copy" bs=1 seek=$((at + 200)) conv=notrunc status=none ;;
      cut) truncate -s -1 "$copy" ;;
      appended) printf '\0' >>"$copy" ;;
      hole) { head -c "$image" "$exe"; } >"$copy.new" && truncate -s $((2147483648 - $(stat -c %s "$exe") + image)) "$copy.new" \
              && tail -c +$((image + 1)) "$exe" >>"$copy.new" && mv "$copy.new" "$copy" && chmod +x "$copy"
            [ "$(stat -c %s "$copy")" = 2147483648 ] || fail "$what: the copy is not 2 GiB" ;;
    esac
    m="$work/$build-$damage"
    fresh "$copy" "$m" 2 $v
    run "$copy" "$m" < <(walk_to_install "$dest"
      printf 'answer OK Installation file is not complete. Please redownload the file from\nclose Form1\nanswer Yes\n')
    ends_clean "$what" "$m"
    [ "$(grep -c '^?? box' "$m.out")" = 2 ] || fail "$what: not the short-file box and the cancel question alone"
    [ -z "$(ls "$(host_path "$m" "$dest")")" ] || fail "$what: files were installed"
    grep -q Zideruv "$m/registry.reg" && fail "$what: settings were written"
    grep -q 'Label12: ' "$m.out" && fail "$what: a member was extracted"
  done
  rm -f "$copy"
done

# The ten AVIFile registrations all wrong, and the registry refusing the
# fourth: the repair writes the nine others, then says that it failed; the
# product files are all installed, and the finish page says so.
m="$work/avi"
fresh "$modern" "$m" 2 6 1
sed -i 's/^@="{0002\(.*\)-0000-0000-C000-000000000046}"$/@="{0002\1-0000-0000-C000-0000000000FF}"/' "$m/registry.reg"
[ "$(grep -c 'C000-0000000000FF' "$m/registry.reg")" = 10 ] || fail "the AVIFile values were not all changed"
ini "$m" Faults RefuseRegistryWrites 'HKEY_CLASSES_ROOT\AVIFile\Extensions\AVI'
run "$modern" "$m" < <(walk_to_install "$dest"; printf "answer OK Couldn't fix AVI registry!\nclick Command2\n")
ends_clean "a refused AVI row" "$m"
[ "$(grep -c '^?? box' "$m.out")" = 1 ] || fail "a refused AVI row: not the one box"
grep -q 'Label11: "Installation of ZOV Rededi Dirirozo has been successfully completed!' "$m.out" \
  || fail "a refused AVI row: the finish page does not say the product was installed"
hivex "$m" >"$work/avi.reg"
while read -r key value; do
  [ "$key" = 'Extensions\AVI' ] && value='{00020000-0000-0000-C000-0000000000FF}'
  [ "$(reg_value "$work/avi.reg" "HKEY_CLASSES_ROOT\\AVIFile\\$key" '')" = "1|$(text_hex "$value")" ] \
    || fail "a refused AVI row: AVIFile\\$key is not $value"
done <<<"$avi_keys"

# Program Manager takes the conversation but answers no command (no
# Programs folder on this XP machine, so its route is taken): every command
# waits out its time-out, the install finishes, no group is made.
m="$work/progman"
fresh "$classic" "$m" 2 5 1
ini "$m" Folders Programs ''
ini "$m" Desktop ProgramManager no
run "$classic" "$m" < <(walk_to_install "$dest"; echo 'click Command2')
ends_clean "a silent Program Manager" "$m"
grep -q '^?? box' "$m.out" && fail "a silent Program Manager: a box"
grep -q '^   Command2: \[Finish\]$' "$m.out" || fail "a silent Program Manager: no finish page"
[ "$(grep -c 'Program Manager did not answer' "$m/log")" = 6 ] || fail "a silent Program Manager: not six unanswered commands"
[ -e "$m/progman.ini" ] && fail "a silent Program Manager: a group was made"
# Leftovers of earlier runs in the temporary folder, hidden, system or
# read-only and longer than their members, the main program's among them:
# each member is extracted whole; only the read-only one that the look for
# an old file sees and cannot delete is reported. Then no folder is left.
m="$work/leftovers"
fresh "$modern" "$m" 2 6 1
zovtmp="$(host_path "$m" "$tmp")"
mkdir -p "$zovtmp"
for leftover in 'H|Zuzuzu Rudavero 5.ex_' 'S|MCD28m.wa_' 'R|MCU28m.wa_' 'HR|ZOV5.ch_' 'SA|Beep.wa_'; do
  name=${leftover#*|}
  head -c $(($(stat -c %s "$modern_payload/members/$name") + 1000)) /dev/urandom >"$zovtmp/$name"
  printf '%s %s\\%s\n' "${leftover%%|*}" "$tmp" "$name" >>"$m/attributes"
done
run "$modern" "$m" < <(walk_to_install "$dest"
  printf "answer OK Couldn't delete the file %s\\\\MCU28m.wa_\nclick Command2\n" "$tmp")
installed_whole "leftovers in the temporary folder" "$m" "$modern_payload" yes "$dest"
[ "$(grep -c '^?? box' "$m.out")" = 1 ] || fail "leftovers in the temporary folder: not one box"

# An earlier version's installation on each build's Windows, kept to be
# copied (see as_earlier).
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern payload=$modern_payload v='6 1' vista7=yes; else exe=$classic payload=$classic_payload v='5 1' vista7=no; fi
  m="$work/earlier-$build"
  fresh "$exe" "$m" 2 $v
  run "$exe" "$m" < <(walk_to_install "$dest"; echo 'click Command2')
  installed_whole "$build: the earlier installation" "$m" "$payload" $vista7 "$dest"
  as_earlier "$m" "$payload" $vista7 "$dest"
done
# Any number of boxes answered, whatever they say; the script ends at the
# first moment nothing asks (exit 3) or with the program.
answers() { walk_to_install "$dest"; for ((a = 0; a < 150; a++)); do echo 'answer OK'; done; }
# A run that went through faults: it ended without an unhandled error and
# without an "Error : 5-" box, nothing is lost, and a new run with room
# installs the whole product without a box.
after_faults() {  # WHAT MACHINE EXE PAYLOAD VISTA7 STATUS
  local what=$1 m=$2 exe=$3 payload=$4 vista7=$5 status=$6
  grep -q 'Error : 5-' "$m.out" && fail "$what: $(grep -m1 'Error : 5-' "$m.out")"
  [ "$status" = 0 ] || [ "$status" = 3 ] || fail "$what exited $status: $(cat "$m.err")"
  nothing_lost "$what" "$m" "$payload" $vista7 "$dest" yes
  ini "$m" Faults HostFreeBytes ''
  run "$exe" "$m" < <(walk_to_install "$dest"; echo 'click Command2')
  installed_whole "$what: the next run" "$m" "$payload" $vista7 "$dest"
}

# The host disk fills up: at no room at all, at the moments named in the
# reports, and at random ones across the install's writes.
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern payload=$modern_payload vista7=yes rooms="0 3319193 8148234"
  else exe=$classic payload=$classic_payload vista7=no rooms=0; fi
  for room in $rooms $((RANDOM * 900)); do
    what="$build over an earlier version with $room bytes of room (seed $seed)"
    m="$work/room-$build-$room"
    cp -r "$work/earlier-$build" "$m"
    ini "$m" Faults HostFreeBytes "$room"
    run "$exe" "$m" < <(answers)
    after_faults "$what" "$m" "$exe" "$payload" $vista7 $status
  done
done

echo "faults during install: ok (seed $seed)"
