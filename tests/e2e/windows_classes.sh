#!/usr/bin/env bash
# Both delivered installers on a fresh machine of every Windows class they
# know (95/98/Me, NT 4, 2000/XP, Vista, 7) and of one they do not, walked
# unattended through Install, the launch box and Finish. Each machine folder
# is then held against everything an installation must leave: the product
# files byte for byte, the libraries in the system folder, the patched sample
# project, the settings (registry on most classes, one file per value on
# Vista/7), the uninstall entry, the .qev association, the AVIFile keys, the
# shortcuts (lnkinfo) or the Program Manager group, UserF.dat, no \ZOVTMP,
# and the machine log.
# Usage: windows_classes.sh setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
modern=$1 modern_payload=$2 classic=$3 classic_payload=$4

# check_beyond WHAT MACHINE PAYLOAD DEST VISTA7 ROUTE PRODUCT: what the
# inventory does not look at: nothing installed that does not belong to
# this Windows or this folder, no settings beyond the seven and none in the
# other place, the AVIFile keys, the route taken, and the machine log.
check_beyond() {
  local what=$1 m=$2 payload=$3 dest=$4 vista7=$5 route=$6 product=$7 skipped name
  local install program="$4\\Zuzuzu Rudavero 5.exe"
  install=$(host_path "$m" "$dest")
  if [ "$vista7" = yes ]; then skipped=ZOVUser.exe; else skipped='Zuzuzu Rudavero 5.exe.manifest'; fi
  [ -e "$install/$skipped" ] && fail "$what: $skipped was installed"
  [ -e "$install/vcredist_x86.exe" ] && fail "$what: the runtime package stayed"
  for sample in "$payload"/sample/*.dll; do
    [ -e "$install/${sample##*/}" ] && fail "$what: ${sample##*/} landed in the install folder"
  done
  find "$m/drives" -iname zovtmp | grep -q . && fail "$what: the temporary folder stayed"

  hivex "$m" >"$work/reg" 2>"$work/hivex.err" || fail "$what: registry.reg does not import: $(cat "$work/hivex.err")"
  if [ "$vista7" = yes ]; then
    local folder="$m/drives/C/Users/user/AppData/Local/Zideruv/ZOV4"
    [ "$(ls "$folder" | wc -l)" = 7 ] || fail "$what: settings files beyond the seven: $(ls "$folder")"
    grep -qi '^KEY .*Zideruv' "$work/reg" && fail "$what: settings in the registry on Vista/7"
  else
    grep -q '^VALUE \(AutoCodec\|InterfaceStyle\)|' "$work/reg" && fail "$what: upgrade values on a first install"
    [ -e "$m/drives/C/Users/user/AppData/Local/Zideruv" ] && fail "$what: a settings folder outside Vista/7"
    [ -e "$install/UserF.dat" ] && fail "$what: UserF.dat outside Vista/7"
  fi
  while read -r key value; do
    [ "$(reg_value "$work/reg" "HKEY_CLASSES_ROOT\\AVIFile\\$key" '')" = "1|$(text_hex "$value")" ] \
      || fail "$what: AVIFile\\$key is not $value"
  done <<<"$avi_keys"

  if [ "$route" = shell ]; then
    grep -qF "opened folder window: C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\ZOV Zuzuzu Rudavero 5" \
      "$m/log" || fail "$what: the group folder was not opened"
    [ -e "$m/progman.ini" ] && fail "$what: a Program Manager group beside the shortcuts"
  else
    find "$m/drives" -name '*.lnk' | grep -q . && fail "$what: shortcuts on the Program Manager route"
  fi
  grep -q 'waited for process 2412 to end' "$m/log" || fail "$what: the runtime package was not waited for"
  grep -qF "started process 2416: $program (window style 1)" "$m/log" || fail "$what: the product was not started"
  grep -q "Zuzuzu Rudavero 5 (process 2416) says: .*(build for Windows $product)" "$m/log" \
    || fail "$what: the started product is not the $product build"
}

# class NAME PLATFORM MAJOR MINOR DESTINATION ROUTE VISTA7 [PREPARE]
classes=$(cat <<'LIST'
95|1|4|10|C:\Apps\ZOV5|progman|no|no-programs-folder
nt4|2|4|0|C:\Program Files\ZOV Zuzuzu Rudavero 5|progman|no|no-shell-object
xp|2|5|1|C:\Program Files\ZOV Zuzuzu Rudavero 5|shell|no|damaged-avi
vista|2|6|0|C:\ZOV\Zuzuzu|shell|yes|missing-avi
7|2|6|1|C:\Program Files\ZOV Zuzuzu Rudavero 5|shell|yes|
unknown|0|3|10|C:\Program Files\ZOV Zuzuzu Rudavero 5|shell|no|
LIST
)
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern payload=$modern_payload product='Vista and 7'
  else exe=$classic payload=$classic_payload product=XP; fi
  while IFS='|' read -r name platform major minor dest route vista7 prepare; do
    what="$build on $name"
    m="$work/$build-$name"
    fresh "$exe" "$m" "$platform" "$major" "$minor"
    case $prepare in
      no-programs-folder) ini "$m" Folders Programs '' ;;
      no-shell-object) perl -00 -ni -e 'print unless /^\[HKEY_CLASSES_ROOT\\WScript\.Shell/' "$m/registry.reg" ;;
      damaged-avi) sed -i 's/{00020001-0000-0000-C000-000000000046}/{00020001-0000-0000-C000-000000000000}/' "$m/registry.reg" ;;
      missing-avi) perl -00 -ni -e 'print unless /^\[HKEY_CLASSES_ROOT\\AVIFile\\Extensions\\BMP\]/' "$m/registry.reg" ;;
    esac
    run "$exe" "$m" < <(walk_to_install "$dest"; printf 'click Check1\nclick Command2\n')
    [ $status -eq 0 ] || fail "$what exited $status: $(cat "$m.err")"
    grep -q '^?? box' "$m.out" && fail "$what: a box: $(grep -A2 '^?? box' "$m.out")"
    grep -q '^   Label8: "100%"$' "$m.out" || fail "$what: the bar did not reach 100 %"
    grep -q '^   Check1: \[x\] Launch ZOV now.$' "$m.out" || fail "$what: the launch box was not ticked"
    grep -q '^== Form1 closed$' "$m.out" || fail "$what: Finish did not close the window"
    missing=$(inventory "$m" "$payload" "$vista7" "$dest" 0)
    [ -z "$missing" ] || fail "$what: not in place: $missing"
    check_beyond "$what" "$m" "$payload" "$dest" "$vista7" "$route" "$product"
  done <<<"$classes"
done
echo "windows classes: ok"
