#!/usr/bin/env bash
# The installer killed (SIGKILL) at random moments of an installation, the
# two builds taking turns on 7 and XP: after each kill registry.reg still
# imports and a new run on the same machine installs the product whole.
# Then a cancel at a random slot (a locked file of that slot stops the run
# at its boxes; the cancel comes right after them): the temporary folder is
# gone and the program ends with exit 0. Last a cancel at a random yield of
# the destination checks: nothing is installed.
# ZOV_KILLS sets the number of kills (default 20), ZOV_SEED the random seed.
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

# installed WHAT MACHINE PAYLOAD VISTA7: the run ended on the finish page and
# every product file is the sample's.
installed() {
  [ $status -eq 0 ] || fail "$1 exited $status (seed $seed): $(tail -3 "$2.out") $(cat "$2.err")"
  grep -q '^== Form1 closed$' "$2.out" && grep -q '^   Command2: \[Finish\]$' "$2.out" \
    || fail "$1 (seed $seed): did not finish: $(grep -A2 '^??' "$2.out" | head -6)"
  local skipped name target
  if [ "$4" = yes ]; then skipped=ZOVUser.exe; else skipped='Zuzuzu Rudavero 5.exe.manifest'; fi
  for sample in "$3"/sample/*; do
    name=$(basename "$sample")
    case $name in
      vcredist_x86.exe | SampleProject.qev | "$skipped") continue ;;
      *.dll) target="$2/drives/C/Windows/system32/$name" ;;
      *) target="$(host_path "$2" "$dest")/$name" ;;
    esac
    cmp -s "$sample" "$target" || fail "$1 (seed $seed): $name is not the sample file"
  done
  find "$2/drives" -iname zovtmp | grep -q . && fail "$1 (seed $seed): the temporary folder stayed"
}

# How long one whole run takes here: kills fall anywhere in it.
m="$work/timing"
fresh "$modern" "$m" 2 6 1
start=$(date +%s%N)
run "$modern" "$m" < <(walk)
span=$((($(date +%s%N) - start) / 1000000))
installed "the timing run" "$m" "$modern_payload" yes

kills=${ZOV_KILLS:-20} mid_run=0
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
  hivex "$m" >"$work/reg" 2>"$work/hivex.err" || fail "$what (seed $seed): registry.reg does not import: $(cat "$work/hivex.err")"
  # A kill before the temporary folder went away struck the installation itself.
  find "$m/drives" -iname zovtmp | grep -q . && mid_run=$((mid_run + 1))
  # A kill between the creation of a settings value file (Vista/7) and its
  # line leaves the file empty. The settings store reads an empty number as
  # a run-time error, shows it and goes on with 0: Language at start-up,
  # Version and dwKFE in the settings stage. The new run answers those boxes.
  settings="$m/drives/C/Users/user/AppData/Local/Zideruv/ZOV4"
  mismatch='answer OK Error : 5-13 Type mismatch'
  # A kill between the creation of the .qev key and its class leaves the
  # extension with an empty class, which the new run asks about as another
  # program's; it answers Yes.
  qev=$(awk '/^\[/ { inside = ($0 == "[HKEY_CLASSES_ROOT\\.qev]"); if (inside) print "key" } inside && /^@=/ { print "class" }' "$m/registry.reg")
  run "$exe" "$m" < <([ -f "$settings/Language" ] && [ ! -s "$settings/Language" ] && echo "$mismatch"
    walk_to_install "$dest"
    for name in Version dwKFE; do [ -f "$settings/$name" ] && [ ! -s "$settings/$name" ] && echo "$mismatch"; done
    [ "$qev" = key ] &&
      echo "answer Yes '.qev' file type is associated with another application."
    echo 'click Command2')
  installed "the run after being $what" "$m" "$payload" $vista7
  if [ $vista7 = yes ]; then
    for name in Version dwKFE Language; do [ -s "$settings/$name" ] || fail "the run after being $what: $name is empty"; done
  fi
  hivex "$m" >/dev/null 2>&1 || fail "the run after being $what (seed $seed): registry.reg does not import"
done

((mid_run * 4 >= kills)) || fail "only $mid_run of $kills kills struck during the installation (seed $seed)"

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
echo "killed and cancelled: ok ($kills kills, $mid_run during the installation; seed $seed)"
