#!/usr/bin/env bash
# One installer at a time on a machine, on the delivered programs:
# - a second installer of either build, started while the first is held in
#   the middle of its installation (its runtime package runs for seconds on
#   the machine's real clock), shows its one box, ends with exit 0 and
#   changes nothing in the machine folder; the first then installs whole;
# - started after the first was killed there, it installs everything without
#   a box, and nothing of the killed run stays (no \ZOVTMP, no new file
#   beside a replaced one, no save file of the machine);
# - two and three installers started together (modern and modern, modern and
#   classic), rounds of them: one installs whole, every other one shows its
#   box and nothing else, and a run after them installs without a box;
# - a kill at a change of a reinstall over an earlier installation, then a
#   run without faults: no *.tmp of the installer under drives/, no save
#   file of the machine, every earlier file whole before the clean run and
#   everything in place after it, and the user's own files in the machine
#   folder kept. The changes are taken at random (ZOV_KILLS of them, default
#   8), or every change with ZOV_FULL=1.
# ZOV_ROUNDS sets the rounds of installers started together (default 20),
# ZOV_SEED the random seed.
# Usage: one_installer_at_a_time.sh setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
modern=$1 modern_payload=$2 classic=$3 classic_payload=$4
seed=${ZOV_SEED:-$$}
RANDOM=$seed
dest='C:\Program Files\ZOV Zuzuzu Rudavero 5'
another='Another installation of ZOV Rededi Dirirozo is running. Please wait until it has finished, then start the installation again.'
walk() { walk_to_install "$dest"; echo 'click Command2'; }

# A picture of the machine folder: every file with its content's checksum,
# every folder, every link; of the machine's log (its record of what
# happened, which grows) the lines but those that say which drive the
# program's own folder is.
picture() {
  (cd "$1" && find . -printf '%y %p %l\n' | sort && find . -type f ! -name log -print0 | sort -z | xargs -0 md5sum)
  grep -vE "^[^ ]+ the program's folder .+ is drive [A-Z]:[\\\\]$" "$1/log"
}

# refused WHAT OUT STATUS [UNANSWERED]: the installer showed the one box
# and nothing else, and ended with exit 0 once it was answered; with
# UNANSWERED, a script that had no answer for it ended the run at the box.
refused() {
  [ "$(grep -c '^?? box' "$2")" = 1 ] && grep -qxF "   $another" "$2" || fail "$1: not the one box: $(head -5 "$2")"
  grep -q '^== Form1' "$2" && fail "$1: the wizard opened"
  if [ -n "${4:-}" ]; then
    [ "$3" = 3 ] && grep -q 'a message box is waiting for an answer' "$2" || fail "$1 exited $3"
  else
    [ "$3" = 0 ] || fail "$1 exited $3"
  fi
}

# everything WHAT MACHINE PAYLOAD VISTA7: installed whole, without a box,
# every part in place, and nothing of a killed run left.
everything() {
  everything_in_place "$1 (seed $seed)" "$2" "$3" "$4" "$dest"
  no_leftovers "$1 (seed $seed)" "$2"
}

# held BUILD MACHINE: a machine on which the installer of BUILD, started in
# the background ($first), holds its installation in the runtime package
# for seconds of real time; returns once the package has started.
held() {
  local exe=$modern
  [ "$1" = classic ] && exe=$classic
  ini "$2" Windows Clock real
  printf '\n[Program vcredist_x86.exe]\nRunsFor=6000\n' >>"$2/machine.ini"
  ZOV_UI=script ZOV_MACHINE="$2" "$exe" < <(walk) >"$2.first" 2>&1 &
  first=$!
  for ((i = 0; i < 200; i++)); do
    grep -q 'vcredist_x86.exe (window style 1)' "$2/log" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "$1: the first installer did not reach the runtime package"
}

# The machines: fresh ones of 7 with the user's files in the machine folder.
for build in modern classic; do
  exe=$modern
  [ $build = classic ] && exe=$classic
  fresh "$exe" "$work/fresh-$build" 2 6 1
  keep_user_files "$work/fresh-$build"
done

# A second installer while the first is held mid-install, each build after each.
for pair in modern-modern modern-classic classic-modern; do
  firstbuild=${pair%-*} secondbuild=${pair#*-} second=$modern payload=$modern_payload
  [ "$secondbuild" = classic ] && second=$classic
  [ "$firstbuild" = classic ] && payload=$classic_payload
  m="$work/held-$pair"
  cp -r "$work/fresh-$firstbuild" "$m"
  held "$firstbuild" "$m"
  before=$(picture "$m")
  ZOV_UI=script ZOV_MACHINE="$m" "$second" < <(echo 'answer OK'; walk) >"$m.second" 2>&1
  status=$?
  [ "$(picture "$m")" = "$before" ] || fail "$pair: the second installer changed the machine folder:
$(diff <(echo "$before") <(picture "$m") | head -6)"
  refused "$pair: the second installer" "$m.second" $status
  wait $first || fail "$pair: the first installer exited $?"
  cp "$m.first" "$m.out"
  status=0
  everything "$pair: the first installer" "$m" "$payload" yes
done

# The first killed while it holds the machine: the next one of the other
# build installs and clears what the kill left.
for pair in modern-classic classic-modern; do
  firstbuild=${pair%-*} next=$modern payload=$modern_payload
  [ "${pair#*-}" = classic ] && next=$classic payload=$classic_payload
  m="$work/killed-$pair"
  cp -r "$work/fresh-$firstbuild" "$m"
  held "$firstbuild" "$m"
  kill -KILL $first
  wait $first 2>/dev/null
  find "$m/drives" -iname zovtmp | grep -q . || fail "$pair: the kill did not strike the installation"
  ini "$m" Windows Clock virtual
  run "$next" "$m" < <(walk)
  everything "$pair: the run after the first was killed" "$m" "$payload" yes
done

# Installers started together, each with the walk to Finish; the one that
# installs holds the machine for a while, so the others start while it
# runs, and each of them stops at its box, which the walk does not answer.
rounds=${ZOV_ROUNDS:-20}
for ((round = 0; round < rounds; round++)); do
  count=$((2 + round % 2))
  builds=(modern modern)
  ((round % 4 >= 2)) && builds=(modern classic)
  ((count == 3)) && builds+=(modern)
  m="$work/together"
  rm -rf "$m" "$m".out*
  cp -r "$work/fresh-modern" "$m"
  ini "$m" Windows Clock real
  printf '\n[Program vcredist_x86.exe]\nRunsFor=1500\n' >>"$m/machine.ini"
  pids=()
  for ((i = 0; i < count; i++)); do
    exe=$modern
    [ "${builds[i]}" = classic ] && exe=$classic
    ZOV_UI=script ZOV_MACHINE="$m" "$exe" < <(walk) >"$m.out$i" 2>&1 &
    pids+=($!)
  done
  installs=0
  for ((i = 0; i < count; i++)); do
    wait "${pids[i]}"
    status=$?
    what="round $round, installer $i of ${builds[*]}"
    if grep -qxF "   $another" "$m.out$i"; then
      refused "$what" "$m.out$i" $status unanswered
    else
      [ $status = 0 ] && grep -q '^   Command2: \[Finish\]$' "$m.out$i" || fail "$what: neither refused nor finished"
      installs=$((installs + 1))
    fi
  done
  [ $installs = 1 ] || fail "round $round of ${builds[*]} (seed $seed): $installs installations"
  ini "$m" Windows Clock virtual
  run "$modern" "$m" < <(walk)
  everything "round $round of ${builds[*]}: the run after them" "$m" "$modern_payload" yes
done

# A kill at a change of a reinstall over an earlier installation, then a
# run without faults.
m="$work/earlier"
cp -r "$work/fresh-modern" "$m"
run "$modern" "$m" < <(walk)
everything "the earlier installation" "$m" "$modern_payload" yes
as_earlier "$m" "$modern_payload" yes "$dest"
kills=0
if [ "${ZOV_FULL:-0}" = 1 ]; then changes=$(seq 1 100000); else
  changes=$(for ((k = 0; k < ${ZOV_KILLS:-8}; k++)); do echo $((RANDOM % 420 + 1)); done | sort -n); fi
for change in $changes; do
  k="$work/kill"
  rm -rf "$k"
  cp -r "$m" "$k"
  ini "$k" Faults KillAtChange "$change"
  run "$modern" "$k" < <(walk) 2>/dev/null
  [ $status = 137 ] || break  # the reinstall makes fewer changes
  kills=$((kills + 1))
  nothing_lost "killed at change $change (seed $seed)" "$k" "$modern_payload" yes "$dest" yes
  ini "$k" Faults KillAtChange ''
  run "$modern" "$k" < <(walk)
  everything "the clean run after a kill at change $change" "$k" "$modern_payload" yes
done
((kills > 0)) || fail "no kill struck the reinstall (seed $seed)"
echo "one installer at a time: ok ($rounds rounds, $kills kills; seed $seed)"
