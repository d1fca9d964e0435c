#!/usr/bin/env bash
# The delivered installers install the product: setupmodern.exe on a fresh
# Windows 7 machine, setupclassic.exe on a fresh XP machine, each walked
# through Install and Finish by a script; every product file must equal its
# build's sample file, and the shortcuts must read back with lnkinfo. Then a
# cancel during the run ends the program with exit 0 and no temporary files.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
walk='click Command2
click Option1
click Command2
click Command2
'

# fresh MACHINE VERSION: a machine of that Windows version (6.1 or 5.1) on
# virtual time, with the install folder made as the destination checks leave it.
fresh() {
  printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$1" "$modern" >/dev/null 2>&1 \
    || fail "the machine $1 could not be made"
  sed -i -e "s/^MajorVersion=.*/MajorVersion=${2%.*}/" -e "s/^MinorVersion=.*/MinorVersion=${2#*.}/" \
    -e 's/^Clock=.*/Clock=virtual/' "$1/machine.ini"
  mkdir -p "$1/drives/C/Program Files/ZOV Zuzuzu Rudavero 5"
}

modern=$1 modern_payload=$2 classic=$3 classic_payload=$4
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern payload=$modern_payload version=6.1 skipped=ZOVUser.exe
  else exe=$classic payload=$classic_payload version=5.1 skipped='Zuzuzu Rudavero 5.exe.manifest'; fi
  machine="$work/$build"
  fresh "$machine" $version
  printf '%sclick Command2\n' "$walk" | ZOV_UI=script ZOV_MACHINE="$machine" "$exe" >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 0 ] || fail "$build exited $status: $(cat "$work/err")"
  grep -q '^   Label8: "100%"$' "$work/out" || fail "$build: the bar did not reach 100 %"
  grep -q '^   Command2: \[Finish\]$' "$work/out" || fail "$build: no finish page"
  grep -q '^== Form1 closed$' "$work/out" || fail "$build: Finish did not close the window"
  grep -q '^?? box' "$work/out" && fail "$build: a box: $(grep -A1 '^?? box' "$work/out")"
  c="$machine/drives/C"
  for sample in "$payload"/sample/*; do
    name=$(basename "$sample")
    case $name in
      vcredist_x86.exe | SampleProject.qev) continue ;;
      "$skipped") [ -e "$c/Program Files/ZOV Zuzuzu Rudavero 5/$name" ] && fail "$build installed $name"; continue ;;
      *.dll) target="$c/Windows/system32/$name" ;;
      *) target="$c/Program Files/ZOV Zuzuzu Rudavero 5/$name" ;;
    esac
    cmp -s "$sample" "$target" || fail "$build: $name is not the sample file"
  done
  [ -e "$c/Program Files/ZOV Zuzuzu Rudavero 5/vcredist_x86.exe" ] && fail "$build: the runtime package stayed"
  grep -q 'waited for process .* to end' "$machine/log" || fail "$build: the runtime package was not waited for"
  find "$c" -iname zovtmp | grep -q . && fail "$build: the temporary folder stayed"
  link=$(find "$c" -ipath '*desktop*' -name 'ZOV Zuzuzu Rudavero 5.lnk' | head -n 1)
  [ -n "$link" ] || fail "$build: no desktop shortcut"
  lnkinfo "$link" | grep -q 'Local path.*: C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\Zuzuzu Rudavero 5.exe' \
    || fail "$build: lnkinfo does not read the desktop shortcut: $(lnkinfo "$link" 2>&1)"
  grep -q 'opened folder window: .*\\ZOV Zuzuzu Rudavero 5$' "$machine/log" || fail "$build: the group was not opened"
done

# Cancel during the run: the program ends at once, without its temporary files.
machine="$work/cancel"
fresh "$machine" 6.1
printf '%sbusy close Form1\nanswer Yes Do you want to cancel the installation?\n' "$walk" \
  | ZOV_UI=script ZOV_MACHINE="$machine" "$modern" >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 0 ] || fail "a cancel during the run exited $status: $(cat "$work/err")"
find "$machine/drives/C" -iname zovtmp | grep -q . && fail "the temporary folder stayed after a cancel"
echo "installers install: ok"
