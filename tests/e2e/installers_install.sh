#!/usr/bin/env bash
# The delivered installers install the product: setupmodern.exe on a fresh
# Windows 7 machine, setupclassic.exe on a fresh XP machine, each walked
# through Install by a script; every product file must equal its build's
# sample file. Then a cancel during the run ends the program with exit 0
# and no temporary files.
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
  printf '%sclose Form1\nanswer Yes\n' "$walk" | ZOV_UI=script ZOV_MACHINE="$machine" "$exe" >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 0 ] || fail "$build exited $status: $(cat "$work/err")"
  grep -q '^   Label8: "97%"$' "$work/out" || fail "$build: the bar did not reach 97 %"
  # The one box is the closing question.
  [ "$(grep -c '^?? box' "$work/out")" -eq 1 ] || fail "$build: a failure box: $(grep -A1 '^?? box' "$work/out")"
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
