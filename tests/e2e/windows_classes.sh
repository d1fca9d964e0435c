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

# check_files WHAT MACHINE PAYLOAD DEST VISTA7: the product files, the
# libraries, the runtime package gone, the patched sample project.
check_files() {
  local what=$1 m=$2 payload=$3 dest=$4 vista7=$5 skipped name target
  if [ "$vista7" = yes ]; then skipped=ZOVUser.exe; else skipped='Zuzuzu Rudavero 5.exe.manifest'; fi
  for sample in "$payload"/sample/*; do
    name=$(basename "$sample")
    target="$(host_path "$m" "$dest")/$name"
    case $name in
      vcredist_x86.exe) [ -e "$target" ] && fail "$what: the runtime package stayed"; continue ;;
      SampleProject.qev) continue ;;
      "$skipped") [ -e "$target" ] && fail "$what: $name was installed"; continue ;;
      *.dll) target="$m/drives/C/Windows/system32/$name"; [ -e "$(host_path "$m" "$dest")/$name" ] \
               && fail "$what: $name landed in the install folder" ;;
    esac
    cmp -s "$sample" "$target" || fail "$what: $name is not the sample file"
  done
  # The sample project: the sample's bytes, with the path of the sample film
  # padded to 512 characters at offset 25.
  local project="$m/drives/C/Users/user/Documents/ZOV Projects/SampleProject.qev"
  { head -c 25 "$payload/sample/SampleProject.qev"; printf '%-512s' "$dest\\SampleAVI.avi"
    tail -c +538 "$payload/sample/SampleProject.qev"; } >"$work/project"
  cmp -s "$work/project" "$project" || fail "$what: the sample project is not the patched sample"
  find "$m/drives" -iname zovtmp | grep -q . && fail "$what: the temporary folder stayed"
}

# check_settings WHAT MACHINE DEST VISTA7: the settings values, UserF.dat,
# the uninstall entry, the association and the AVIFile keys.
check_settings() {
  local what=$1 m=$2 dest=$3 vista7=$4 name value
  hivex "$m" >"$work/reg" 2>"$work/hivex.err" || fail "$what: registry.reg does not import: $(cat "$work/hivex.err")"
  local settings='Dizin Version=19 IncCur=1 dwKFE=15 RecSnd=1 CapSpeed=1 Language=0'
  local userf="$(host_path "$m" "$dest")/UserF.dat"
  if [ "$vista7" = yes ]; then
    local folder="$m/drives/C/Users/user/AppData/Local/Zideruv/ZOV4"
    for setting in $settings; do
      name=${setting%%=*} value=${setting#*=}
      [ "$name" = Dizin ] && value=$dest
      [ "$(cat "$folder/$name" 2>/dev/null)" = "$value"$'\r' ] || fail "$what: the settings file $name is not $value"
    done
    [ "$(ls "$folder" | wc -l)" = 7 ] || fail "$what: settings files beyond the seven: $(ls "$folder")"
    grep -qi '^KEY .*Zideruv' "$work/reg" && fail "$what: settings in the registry on Vista/7"
    [ "$(cat "$userf" 2>/dev/null)" = 'C:\Users\user\AppData\Local'$'\r' ] || fail "$what: UserF.dat is wrong"
  else
    for setting in $settings; do
      name=${setting%%=*} value=${setting#*=}
      if [ "$name" = Dizin ]; then value="1|$(text_hex "$dest")"; else value="4|$(dword_hex "$value")"; fi
      [ "$(reg_value "$work/reg" 'HKEY_LOCAL_MACHINE\SOFTWARE\Zideruv\ZOV4' "$name")" = "$value" ] \
        || fail "$what: the setting $name is not $value"
    done
    grep -q '^VALUE \(AutoCodec\|InterfaceStyle\)|' "$work/reg" && fail "$what: upgrade values on a first install"
    [ -e "$m/drives/C/Users/user/AppData/Local/Zideruv" ] && fail "$what: a settings folder outside Vista/7"
    [ -e "$userf" ] && fail "$what: UserF.dat outside Vista/7"
  fi
  local uninstall='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZOVScreenRecorder5'
  [ "$(reg_value "$work/reg" "$uninstall" DisplayName)" = "1|$(text_hex 'ZOV Zuzuzu Rudavero 5')" ] \
    || fail "$what: no uninstall DisplayName"
  [ "$(reg_value "$work/reg" "$uninstall" UninstallString)" = "1|$(text_hex "$dest\\Uninstall Zuzuzu Rudavero 5.exe")" ] \
    || fail "$what: wrong UninstallString"
  local program="$dest\\Zuzuzu Rudavero 5.exe"
  while IFS='|' read -r key value; do
    [ "$(reg_value "$work/reg" "HKEY_CLASSES_ROOT\\$key" '')" = "1|$(text_hex "$value")" ] \
      || fail "$what: HKEY_CLASSES_ROOT\\$key is not $value"
  done <<<".qev|ZOV.KineloftProject
ZOV.KineloftProject|ZOV Kineloft Project File
ZOV.KineloftProject\\shell\\open\\command|\"$program\" /kineloft %1
ZOV.KineloftProject\\DefaultIcon|$program,0"
  while read -r key value; do
    [ "$(reg_value "$work/reg" "HKEY_CLASSES_ROOT\\AVIFile\\$key" '')" = "1|$(text_hex "$value")" ] \
      || fail "$what: AVIFile\\$key is not $value"
  done <<<"$avi_keys"
}

# check_shortcuts WHAT MACHINE DEST ROUTE: the shell's shortcuts read back
# with lnkinfo, or Program Manager's group; and the machine log.
check_shortcuts() {
  local what=$1 m=$2 dest=$3 route=$4 program="$3\\Zuzuzu Rudavero 5.exe"
  local group="$m/drives/C/Users/user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ZOV Zuzuzu Rudavero 5"
  if [ "$route" = shell ]; then
    local row link target arguments
    while IFS='|' read -r link target arguments; do
      lnkinfo "$link" >"$work/lnk" 2>&1 || fail "$what: lnkinfo cannot read $link: $(cat "$work/lnk")"
      grep -qxF "	Local path			: $target" "$work/lnk" || fail "$what: $link does not lead to $target"
      grep -qxF "	Working directory		: $dest" "$work/lnk" || fail "$what: $link has the wrong working folder"
      if [ -n "$arguments" ]; then
        grep -qxF "	Command line arguments		:  $arguments" "$work/lnk" || fail "$what: $link lacks $arguments"
      fi
    done <<<"$m/drives/C/Users/user/Desktop/ZOV Zuzuzu Rudavero 5.lnk|$program|
$group/ZOV Zuzuzu Rudavero 5.lnk|$program|
$group/Scenarca.lnk|$program|/scenarca
$group/Kineloft.lnk|$program|/kineloft
$group/Zuzuzu Rudavero 5 Help.lnk|$dest\\ZOV5.chm|
$group/Uninstall Zuzuzu Rudavero 5.lnk|$dest\\Uninstall Zuzuzu Rudavero 5.exe|"
    grep -qF "opened folder window: C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\ZOV Zuzuzu Rudavero 5" \
      "$m/log" || fail "$what: the group folder was not opened"
    [ -e "$m/progman.ini" ] && fail "$what: a Program Manager group beside the shortcuts"
  else
    find "$m/drives" -name '*.lnk' | grep -q . && fail "$what: shortcuts on the Program Manager route"
    printf '[ZOV Zuzuzu Rudavero 5]\nItem=ZOV Zuzuzu Rudavero 5\nCommand="%s"\nItem=Scenarca\nCommand="%s" /scenarca\nItem=Kineloft\nCommand="%s" /kineloft\nItem=Zuzuzu Rudavero 5 Help\nCommand="%s"\nItem=Uninstall Zuzuzu Rudavero 5\nCommand="%s"\n' \
      "$program" "$program" "$program" "$dest\\ZOV5.chm" "$dest\\Uninstall Zuzuzu Rudavero 5.exe" >"$work/group"
    grep -v '^;' "$m/progman.ini" | sed '/^$/d' | cmp -s - "$work/group" \
      || fail "$what: Program Manager's group: $(cat "$m/progman.ini")"
  fi
  grep -qF "started process 2412: $dest\\vcredist_x86.exe" "$m/log" && grep -q 'waited for process 2412 to end' "$m/log" \
    || fail "$what: the runtime package was not run and waited for"
  grep -qF "started process 2416: $program (window style 1)" "$m/log" || fail "$what: the product was not started"
  grep -q "Zuzuzu Rudavero 5 (process 2416) says: .*(build for Windows $5)" "$m/log" \
    || fail "$what: the started product is not the $5 build"
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
    check_files "$what" "$m" "$payload" "$dest" "$vista7"
    check_settings "$what" "$m" "$dest" "$vista7"
    check_shortcuts "$what" "$m" "$dest" "$route" "$product"
  done <<<"$classes"
done
echo "windows classes: ok"
