#!/usr/bin/env bash
# Installations over earlier ones: the same version again into its folder
# and into another one (the offer answered No and Yes), the settings upgrade
# rules over older settings versions, and a destination that an older major
# version recorded under Software\Varnostik (ZOV3, ZOV2, ZOV), and the .qev
# extension owned by another program.
# Usage: over_earlier_installs.sh setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
modern=$1 modern_payload=$2 classic=$3 classic_payload=$4
default='C:\Program Files\ZOV Zuzuzu Rudavero 5'
settings_key='HKEY_LOCAL_MACHINE\SOFTWARE\Zideruv\ZOV4'
uninstall_key='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZOVScreenRecorder5'

# install EXE MACHINE WHAT [SCRIPT...]: one run that must end on the finish
# page and close; the script defaults to the unattended walk into $default.
install() {
  local exe=$1 m=$2 what=$3
  shift 3
  if [ $# -eq 0 ]; then run "$exe" "$m" < <(walk_to_install "$default"; echo 'click Command2')
  else run "$exe" "$m" < <(printf '%s\n' "$@"); fi
  [ $status -eq 0 ] || fail "$what exited $status: $(cat "$m.err")"
  grep -q '^   Command2: \[Finish\]$' "$m.out" || fail "$what: no finish page: $(tail -5 "$m.out")"
  grep -q '^== Form1 closed$' "$m.out" || fail "$what: the window did not close"
  find "$m/drives" -iname zovtmp | grep -q . && fail "$what: the temporary folder stayed"
  hivex "$m" >"$work/reg" 2>"$work/hivex.err" || fail "$what: registry.reg does not import: $(cat "$work/hivex.err")"
}

# setting WHAT MACHINE NAME EXPECTED (a number, or "none"): one product
# setting, from the registry or, on Vista/7, from its file.
setting() {
  local file="$2/drives/C/Users/user/AppData/Local/Zideruv/ZOV4/$3" got
  if [ "$(grep -c '^MajorVersion=6$' "$2/machine.ini")" = 1 ]; then
    got=$( { tr -d '\r' <"$file"; } 2>/dev/null || echo none)
  else
    got=$(reg_value "$work/reg" "$settings_key" "$3")
    if [ -z "$got" ]; then got=none; else got=$((16#$(echo "${got#4|}" | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/'))); fi
  fi
  [ "$got" = "$4" ] || fail "$1: $3 is $got, not $4"
}

# The same version into the same folder, on each build's own Windows: no
# question, the files, settings and shortcuts as the first time left them.
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern payload=$modern_payload v='6 1'; else exe=$classic payload=$classic_payload v='5 1'; fi
  m="$work/again-$build"
  fresh "$exe" "$m" 2 $v
  install "$exe" "$m" "$build, first install"
  install "$exe" "$m" "$build, the same again"
  grep -q '^?? box' "$m.out" && fail "$build, the same again: a box: $(grep -A2 '^?? box' "$m.out")"
  grep -qxF "   Text2: |$default|" "$m.out" || fail "$build: the destination page did not offer the installed folder"
  cmp -s "$payload/sample/Zuzuzu Rudavero 5.exe" "$(host_path "$m" "$default")/Zuzuzu Rudavero 5.exe" \
    || fail "$build, the same again: the main program differs"
  for s in Version=19 IncCur=1 dwKFE=15 AutoCodec=none InterfaceStyle=none; do setting "$build, again" "$m" ${s%=*} ${s#*=}; done
  [ "$(find "$m/drives" -name '*.lnk' | wc -l)" = 6 ] || fail "$build, the same again: not six shortcuts"
  [ "$(grep -c 'started process .*vcredist_x86.exe' "$m/log")" = 2 ] || fail "$build: the runtime package did not run twice"
done

# The same version into another folder: the offer; No brings back the
# installed folder (Windows 7), Yes installs into the new one (XP).
offer='A version of ZOV Zuzuzu Rudavero 5 is already installed on your computer and now you are installing again to another directory. It is recommended to install into the same directory with the installed version or uninstall it before installing this one.'
m="$work/elsewhere-no"
fresh "$modern" "$m" 2 6 1
install "$modern" "$m" "the first install on 7"
install "$modern" "$m" "No to the offer" 'click Command2' 'click Option1' 'click Command2' 'type Text2 C:\Other\ZOV5' \
  'click Command2' "answer No $offer" 'click Command2' 'click Command2'
grep -qxF "   Text2: |$default|" "$m.out" || fail "No to the offer did not bring back the installed folder"
[ -e "$m/drives/C/Other" ] && fail "No to the offer still made the other folder"
[ "$(tr -d '\r' <"$m/drives/C/Users/user/AppData/Local/Zideruv/ZOV4/Dizin")" = "$default" ] || fail "No to the offer moved Dizin"

m="$work/elsewhere-yes"
fresh "$classic" "$m" 2 5 1
install "$classic" "$m" "the first install on XP"
install "$classic" "$m" "Yes to the offer" 'click Command2' 'click Option1' 'click Command2' 'type Text2 C:\Other\ZOV5' \
  'click Command2' "answer Yes $offer" 'click Command2'
cmp -s "$classic_payload/sample/Zuzuzu Rudavero 5.exe" "$m/drives/C/Other/ZOV5/Zuzuzu Rudavero 5.exe" \
  || fail "Yes to the offer did not install into the other folder"
[ "$(reg_value "$work/reg" "$settings_key" Dizin)" = "1|$(text_hex 'C:\Other\ZOV5')" ] || fail "Yes to the offer: Dizin not moved"
[ "$(reg_value "$work/reg" "$uninstall_key" UninstallString)" = "1|$(text_hex 'C:\Other\ZOV5\Uninstall Zuzuzu Rudavero 5.exe')" ] \
  || fail "Yes to the offer: the uninstall entry names the old folder"

# The upgrade rules over older settings: version 15 without AutoCodec and a
# kept dwKFE in the XP registry; version 16 with AutoCodec 3 and dwKFE 0 in
# the Vista settings files.
m="$work/upgrade-xp"
fresh "$classic" "$m" 2 5 1
printf '\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zideruv\\ZOV4]\n"Version"=dword:0000000f\n"dwKFE"=dword:00000007\n' >>"$m/registry.reg"
install "$classic" "$m" "the upgrade from 15"
for s in Version=19 AutoCodec=0 InterfaceStyle=1 dwKFE=7 IncCur=1; do setting "the upgrade from 15" "$m" ${s%=*} ${s#*=}; done
m="$work/upgrade-vista"
fresh "$modern" "$m" 2 6 0
folder="$m/drives/C/Users/user/AppData/Local/Zideruv/ZOV4"
mkdir -p "$folder"
printf '16\r\n' >"$folder/Version"; printf '3\r\n' >"$folder/AutoCodec"; printf '0\r\n' >"$folder/dwKFE"
install "$modern" "$m" "the upgrade from 16"
for s in Version=19 AutoCodec=3 InterfaceStyle=1 dwKFE=15; do setting "the upgrade from 16" "$m" ${s%=*} ${s#*=}; done

# Over an older major version's folder: ZOV3 and ZOV2 refuse it and open the
# folder chooser; the earliest (ZOV) offers its uninstaller. Nothing is
# installed; the window is then closed.
old='C:\Old\ZOV'
while IFS='|' read -r key answer message; do
  for build in modern classic; do
    if [ $build = modern ]; then exe=$modern v='6 1'; else exe=$classic v='5 1'; fi
    what="$build over $key"
    m="$work/old-$key-$build"
    fresh "$exe" "$m" 2 $v
    mkdir -p "$(host_path "$m" "$old")"
    : >"$(host_path "$m" "$old")/Uninstall ZOV.exe"
    printf '\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnostik\\%s]\n"Dizin"="C:\\\\Old\\\\ZOV"\n' "$key" >>"$m/registry.reg"
    if [ "$answer" = Yes ]; then chooser=''; else chooser='click Form3.Command3'; fi
    run "$exe" "$m" < <(walk_to_install "$old"; printf 'answer %s %s\n%s\nclose Form1\nanswer Yes\n' "$answer" "$message" "$chooser")
    [ $status -eq 0 ] || fail "$what exited $status: $(tail -5 "$m.out") $(cat "$m.err")"
    [ "$(ls "$(host_path "$m" "$old")")" = 'Uninstall ZOV.exe' ] || fail "$what: something was installed into the old folder"
    grep -q 'Zideruv' "$m/registry.reg" && fail "$what: settings were written"
    if [ "$answer" = Yes ]; then
      grep -qF "started process 2412: $old\\Uninstall ZOV.exe (window style 1)" "$m/log" || fail "$what: the old uninstaller was not started"
    else
      grep -q '^== Form3 "Rededi Dirirozo"$' "$m.out" || fail "$what: the folder chooser did not open"
    fi
  done
done <<'LIST'
ZOV3|OK|Version 4 of ZOV Rededi Dirirozo is installed in this folder. Please select another directory to install the new version.
ZOV2|OK|Version 3 of ZOV Rededi Dirirozo is installed in this folder. Please select another directory to install the new version.
ZOV|Yes|Please first uninstall the previous version or select another directory to install the new version.
LIST
# Another program owns project files: ".QEV" (the registry finds names
# without case) holds "Other.Class", among 2,000 other keys of the classes
# root. The installer asks; No leaves that program's association as it was.
m="$work/other-owner"
fresh "$modern" "$m" 2 6 1
awk 'BEGIN { for (i = 0; i < 2000; i++) printf "\n[HKEY_CLASSES_ROOT\\.ext%d]\n", i
             printf "\n[HKEY_CLASSES_ROOT\\.QEV]\n@=\"Other.Class\"\n" }' >>"$m/registry.reg"
install "$modern" "$m" "another owner of .qev" "$(walk_to_install "$default")" \
  "answer No '.qev' file type is associated with another application. Would you like to associate this file type with ZOV Kineloft Project file?" \
  'click Command2'
[ "$(reg_value "$work/reg" 'HKEY_CLASSES_ROOT\.QEV' '')" = "1|$(text_hex Other.Class)" ] \
  || fail "another owner of .qev: its class was replaced"
grep -q '^KEY HKEY_CLASSES_ROOT\\ZOV.KineloftProject$' "$work/reg" && fail "another owner of .qev: the product's class was written"
echo "over earlier installs: ok"
