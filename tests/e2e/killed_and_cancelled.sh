#!/usr/bin/env bash
# The installer killed (SIGKILL) at random moments of an installation, the
# two builds taking turns on 7 and XP, and at chosen changes of the
# machine's files, walking through whole installations over an earlier
# version and on a fresh machine: after each kill registry.reg still imports,
# every settings value is whole, every product file that was there holds its
# earlier or its new content, and a new run on the same machine installs the
# product whole without a box; at the end of the walks at chosen changes no
# temporary file of a registry or attribute save is left, and the files a
# user keeps in the machine folder are there as they were.
# Then a cancel at a random slot (a locked file of that slot stops the run
# at its boxes; the cancel comes right after them): the temporary folder is
# gone and the program ends with exit 0. Last a cancel at a random yield of
# the destination checks: nothing is installed.
# ZOV_KILLS sets the number of random kills (default 12), ZOV_KILL_STRIDE the
# changes between chosen kills (default 48), ZOV_SEED the random seed.
# Usage: killed_and_cancelled.sh setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
modern=$1 modern_payload=$2 classic=$3 classic_payload=$4
seed=${ZOV_SEED:-$$}
RANDOM=$seed
dest='C:\Program Files\ZOV Zuzuzu Rudavero 5'
walk() { walk_to_install "$dest"; echo 'click Command2'; }

# The run installed everything without a box: also the association
# question stays away after a kill between the .qev key and its class,
# whose key names no class and so no other program.
installed() { everything_in_place "$1 (seed $seed)" "$2" "$3" "$4" "$dest"; }

# How long one whole run takes here: kills fall anywhere in it.
m="$work/timing"
fresh "$modern" "$m" 2 6 1
start=$(date +%s%N)
run "$modern" "$m" < <(walk)
span=$((($(date +%s%N) - start) / 1000000))
installed "the timing run" "$m" "$modern_payload" yes

kills=${ZOV_KILLS:-12} mid_run=0
for ((i = 0; i < kills; i++)); do
  if ((i % 2)); then exe=$classic payload=$classic_payload v='5 1' vista7=no; else exe=$modern payload=$modern_payload v='6 1' vista7=yes; fi
  m="$work/kill-$i"
  [ -d "$work/fresh-$v" ] || fresh "$exe" "$work/fresh-$v" 2 $v
  cp -r "$work/fresh-$v" "$m"
  delay=$((RANDOM % span))
  ZOV_UI=script ZOV_MACHINE="$m" "$exe" < <(walk) >"$m.out" 2>"$m.err" &
  pid=$!
  sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
  kill -KILL $pid 2>/dev/null
  wait $pid 2>/dev/null
  what="killed after $delay ms of $span"
  nothing_lost "$what (seed $seed)" "$m" "$payload" $vista7 "$dest" no
  # A kill before the temporary folder went away struck the installation itself.
  find "$m/drives" -iname zovtmp | grep -q . && mid_run=$((mid_run + 1))
  run "$exe" "$m" < <(walk)
  installed "the run after being $what" "$m" "$payload" $vista7
  hivex "$m" >/dev/null 2>&1 || fail "the run after being $what (seed $seed): registry.reg does not import"
done

((mid_run * 4 >= kills)) || fail "only $mid_run of $kills kills struck during the installation (seed $seed)"

# kill_walk WHAT EXE PAYLOAD VISTA7 MACHINE EARLIER: kills at chosen changes
# (KillAtChange). Each run is struck a stride of changes later than the one
# before, on the machine the earlier kills left, until a run is not struck
# and installs the whole product. The first kill falls at a random change of
# the first stride, so that over many runs every change of an installation
# is struck (each value file, each expanded file, each registry save).
# After each kill nothing is lost.
walks=0
kill_walk() {
  local what=$1 exe=$2 payload=$3 vista7=$4 m=$5 earlier=$6 stride=${ZOV_KILL_STRIDE:-48}
  local at=$((RANDOM % stride + 1)) kills=0
  keep_user_files "$m"
  while :; do
    ini "$m" Faults KillAtChange $at
    run "$exe" "$m" < <(walk) 2>/dev/null  # not the shell's word on the kill
    [ $status -eq 137 ] || break
    kills=$((kills + 1))
    nothing_lost "$what, killed at change $at (seed $seed)" "$m" "$payload" $vista7 "$dest" $earlier
    at=$((at + stride))
  done
  what="$what, the run after $kills kills"
  installed "$what" "$m" "$payload" $vista7
  what="$what (seed $seed)"
  nothing_lost "$what" "$m" "$payload" $vista7 "$dest" $earlier
  ((kills * stride >= 400)) || fail "$what: the kills ended after $at changes"
  no_leftovers "$what" "$m"
  if [ $vista7 = yes ]; then
    [ "$(cat "$(settings_folder "$m")/Version")" = $'19\r' ] || fail "$what: Version is not 19"
    # A first installation stays one whatever the kills left: no upgrade values.
    [ $earlier = yes ] || [ ! -e "$(settings_folder "$m")/AutoCodec" ] || fail "$what: AutoCodec was written"
  fi
  walks=$((walks + kills))
}
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern payload=$modern_payload v='6 1' vista7=yes; else exe=$classic payload=$classic_payload v='5 1' vista7=no; fi
  m="$work/walk-$build"
  fresh "$exe" "$m" 2 $v
  run "$exe" "$m" < <(walk)
  installed "$build: the earlier installation" "$m" "$payload" $vista7
  as_earlier "$m" "$payload" $vista7 "$dest"
  kill_walk "$build over an earlier version" "$exe" "$payload" $vista7 "$m" yes
done
m="$work/walk-first"
fresh "$modern" "$m" 2 6 1
kill_walk "a first installation on 7" "$modern" "$modern_payload" yes "$m" no

# A cancel right after a random slot's boxes.
names=()
for sample in "$modern_payload"/sample/*; do
  case $(basename "$sample") in
    vcredist_x86.exe | SampleProject.qev | ZOVUser.exe | *.manifest | *.dll | 'Zuzuzu Rudavero 5.exe') ;;
    *) names+=("$(basename "$sample")") ;;
  esac
done
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern v='6 1'; else exe=$classic v='5 1'; fi
  name=${names[RANDOM % ${#names[@]}]}
  what="$build cancelled after $name (seed $seed)"
  m="$work/cancel-$build"
  fresh "$exe" "$m" 2 $v
  ini "$m" Faults LockedFiles "$dest\\$name"
  run "$exe" "$m" < <(walk_to_install "$dest"; printf "answer OK File in use : '%s\\\\%s'\nanswer OK\n" "$dest" "$name"
    printf 'busy close Form1\nanswer Yes Do you want to cancel the installation?\n')
  [ $status -eq 0 ] || fail "$what exited $status: $(tail -3 "$m.out") $(cat "$m.err")"
  [ "$(tail -n 1 "$m.out")" = '== Form1 closed' ] || fail "$what: the window did not close: $(tail -n 3 "$m.out")"
  find "$m/drives" -iname zovtmp | grep -q . && fail "$what: the temporary folder stayed"
  grep -q Zideruv "$m/registry.reg" && fail "$what: settings were written"
  find "$m/drives" -name '*.lnk' | grep -q . && fail "$what: shortcuts were made"
  hivex "$m" >/dev/null 2>&1 || fail "$what: registry.reg does not import"
done
# A cancel at a random yield of the destination checks, which yield once
# after each level they create: the levels created before the cancel stay
# (empty), and nothing else is written, installed or logged.
for build in modern classic; do
  if [ $build = modern ]; then exe=$modern v='6 1'; else exe=$classic v='5 1'; fi
  levels=$((RANDOM % 5 + 1)) at=$((RANDOM % levels + 1))
  if ((RANDOM % 2)); then cancel='busy click Command3'; else cancel='busy close Form1'; fi
  target='C:\Checked'
  for ((l = 2; l <= levels; l++)); do target+="\\Level$l"; done
  what="$build cancelled with '$cancel' at yield $at of $levels (seed $seed)"
  m="$work/checks-$build"
  fresh "$exe" "$m" 2 $v
  cp "$m/registry.reg" "$work/registry-before"
  log_lines=$(wc -l <"$m/log" 2>/dev/null || echo 0)
  run "$exe" "$m" < <(walk_to_install "$target"; for ((y = 1; y < at; y++)); do echo 'busy pass'; done
    printf '%s\nanswer Yes Do you want to cancel the installation?\n' "$cancel")
  [ $status -eq 0 ] || fail "$what exited $status: $(tail -3 "$m.out") $(cat "$m.err")"
  [ "$(tail -n 1 "$m.out")" = '== Form1 closed' ] || fail "$what: the window did not close: $(tail -n 3 "$m.out")"
  made="$m/drives/C/Checked"
  for ((l = 2; l <= at; l++)); do made+="/Level$l"; done
  [ -d "$made" ] || fail "$what: $made was not created"
  [ -z "$(ls -A "$made")" ] || fail "$what: $made is not empty: $(ls -A "$made")"
  [ $(find "$m/drives/C/Checked" -type d | wc -l) -eq $at ] || fail "$what: levels were created after the cancel"
  cmp -s "$m/registry.reg" "$work/registry-before" || fail "$what: the registry changed"
  find "$m/drives" \( -iname zovtmp -o -name '*.lnk' -o -iname 'zov*.dll' -o -iname 'Zuzuzu Rudavero 5.exe' \) | grep -q . \
    && fail "$what: something was installed"
  tail -n +$((log_lines + 1)) "$m/log" | grep -v "the program's folder" | grep -q . \
    && fail "$what: the machine log goes on: $(tail -n +$((log_lines + 1)) "$m/log")"
done
echo "killed and cancelled: ok ($kills kills, $mid_run during the installation; $walks at chosen changes; seed $seed)"
