#!/usr/bin/env bash
# The whole unattended installation by the delivered program, measured side
# by side with cp of the files it leaves (the expanded product files, the
# libraries and the sample project) into the same disk, and the time from
# the program's start to its first window (the script closes it at once).
# Fresh Windows 7 machines on virtual time: the shell route, so no Program
# Manager waits; the runtime package ends at once. Median of RUNS runs.
# Usage: install_bench.sh setupmodern.exe PAYLOAD_DIR [RUNS]   (a Release build)
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../../tests/e2e/machine_lib.sh"
exe=$1 payload=$2 runs=${3:-7}
now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }

files=()
for sample in "$payload"/sample/*; do
  case $(basename "$sample") in vcredist_x86.exe | ZOVUser.exe) ;; *) files+=("$sample") ;; esac
done
bytes=$(cat "${files[@]}" | wc -c)

for ((i = 0; i < runs; i++)); do
  m="$work/machine-$i"
  fresh "$exe" "$m" 2 6 1
  start=$(now)
  ZOV_UI=script ZOV_MACHINE="$m" "$exe" >/dev/null 2>&1 < <(walk_to_install 'C:\Program Files\ZOV Zuzuzu Rudavero 5'; echo 'click Command2')
  echo $(($(now) - start)) >>"$work/install"
  grep -q 'opened folder window' "$m/log" || fail "run $i did not install"

  start=$(now)
  printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$m" "$exe" >/dev/null 2>&1
  echo $(($(now) - start)) >>"$work/window"

  mkdir -p "$work/copy-$i"
  sync
  start=$(now)
  cp "${files[@]}" "$work/copy-$i/"
  echo $(($(now) - start)) >>"$work/copy"
  rm -rf "$m" "$work/copy-$i"
done
install=$(median <"$work/install") copy=$(median <"$work/copy") window=$(median <"$work/window")
echo "files: ${#files[@]}, $bytes bytes; median of $runs runs"
echo "unattended install, start to exit: $(ms "$install") ms"
echo "cp of the installed files:         $(ms "$copy") ms"
echo "ratio:                             $(awk -v a="$install" -v b="$copy" 'BEGIN { printf "%.1f", a / b }')x"
echo "start to first window (and close): $(ms "$window") ms"
