#!/usr/bin/env bash
# The finish page against what the machine folder holds afterwards. Each
# part an installation makes is refused in turn (each product file and
# library, the sample project and its folder, UserF.dat, each settings value
# and folder, the Desktop, the group folder and each shortcut; each registry
# key it writes), the host disk fills at every 4 KiB of the last 256 KiB
# before a whole installation fits and at every 64 KiB below, and a machine
# without a Programs folder has a silent Program Manager. Every box is
# answered OK. In every run the finish claims success exactly when the
# inventory (files byte-equal to the build's samples, registry.reg read by
# libwin-hivex-perl, shortcuts read by lnkinfo) finds everything in place;
# otherwise it names exactly the kinds of part that are missing, in the
# run's language, says the Start-menu sentence only over the shortcuts and
# a product that can start, and offers the launch only when the product
# files, libraries and settings are there. The status line before the
# shortcuts says the same of what was made before it.
# Each case runs on one of eight machines (both builds on XP and on 7, in
# English and in German), taken in turn from a seeded start (ZOV_SEED); the
# levels below the last 256 KiB are taken every fourth from a seeded one.
# With ZOV_FULL=1 every case runs on all eight and every level is taken.
# Usage: finish_matches_the_machine.sh PART setupmodern.exe MODERN_PAYLOAD setupclassic.exe CLASSIC_PAYLOAD
# PART: refused-files, refused-keys, full-disk-top or full-disk-below.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/machine_lib.sh"
part=$1 modern=$2 modern_payload=$3 classic=$4 classic_payload=$5
seed=${ZOV_SEED:-$$}
full=${ZOV_FULL:-0}
dest='C:\Program Files\ZOV Zuzuzu Rudavero 5'
configs=(modern-7-en classic-xp-de modern-xp-de classic-7-en modern-7-de classic-xp-en modern-xp-en classic-7-de)
turn=$((seed % ${#configs[@]}))
runs=0

# The finish texts of the two languages of the runs.
declare -A says=(
  [en-success]='Installation of ZOV Rededi Dirirozo has been successfully completed! You can launch ZOV from the Start Menu.'
  [en-incomplete]='Installation of ZOV Rededi Dirirozo is not complete!'
  [en-installed]="ZOV has been sucessfully installed into '$dest' directory."
  [en-partly]="ZOV has not been installed completely into '$dest' directory."
  [en-shortcuts-next]='Now creating shortcuts...'
  [en-files]='Some of its files could not be installed.'
  [en-settings]='Some of its settings could not be saved.'
  [en-registrations]="Its uninstall entry or its '.qev' file type could not be registered."
  [en-shortcuts]='Some of its shortcuts could not be created.'
  [en-start-menu]='You can launch ZOV from the Start Menu.'
  [de-success]='Die Installation von ZOV Bildschirm Recorder wurde erfolgreich abgeschlossen! Sie können ZOV über das Startmenü starten.'
  [de-incomplete]='Die Installation von ZOV Bildschirm Recorder ist nicht vollständig!'
  [de-installed]="ZOV wurde erfolgreich in das Verzeichnis '$dest' installiert."
  [de-partly]="ZOV wurde nicht vollständig in das Verzeichnis '$dest' installiert."
  [de-shortcuts-next]='Verknüpfungen werden erstellt...'
  [de-files]='Einige seiner Dateien konnten nicht installiert werden.'
  [de-settings]='Einige seiner Einstellungen konnten nicht gespeichert werden.'
  [de-registrations]="Der Deinstallationseintrag oder der Dateityp '.qev' konnte nicht registriert werden."
  [de-shortcuts]='Einige seiner Verknüpfungen konnten nicht erstellt werden.'
  [de-start-menu]='Sie können ZOV über das Startmenü starten.'
)

# The machine of a configuration, made once and copied for each run.
template() {
  local config=$1 build=${1%%-*} windows language=${1##*-} exe
  windows=${config#*-} windows=${windows%-*}
  exe=$modern
  [ "$build" = classic ] && exe=$classic
  if [ ! -d "$work/$config" ]; then
    if [ "$windows" = 7 ]; then fresh "$exe" "$work/$config" 2 6 1; else fresh "$exe" "$work/$config" 2 5 1; fi
    [ "$language" = de ] && ini "$work/$config" Windows UILanguage 0407
  fi
  printf '%s' "$work/$config"
}

# The walk up to Install in the configuration's language, then any number
# of boxes answered OK; the script ends at the first moment nothing asks
# (exit 3) or with the program.
answers() {
  local item=English
  [ "$1" = de ] && item=Deutsch
  printf 'choose Combo1 %s\nclick Command2\nclick Option1\nclick Command2\ntype Text2 %s\nclick Command2\n' "$item" "$dest"
  for ((a = 0; a < 200; a++)); do echo 'answer OK'; done
}

# The texts said for the missing kinds, in order, each after a blank.
sentences() {  # LANGUAGE MISSING WITH_SHORTCUTS
  local kind text=''
  for kind in files settings registrations shortcuts; do
    [ "$kind" = shortcuts ] && [ "$3" = no ] && continue
    grep -q "^$kind\$" <<<"$2" && text+=" ${says[$1-$kind]}"
  done
  printf '%s' "$text"
}

# judge WHAT CONFIG MACHINE: the run's finish against the machine's inventory.
judge() {
  local what=$1 config=$2 m=$3 language=${2##*-} vista7=no payload=$modern_payload list missing
  [[ $config == *-7-* ]] && vista7=yes
  [[ $config == classic-* ]] && payload=$classic_payload
  [ $status -eq 0 ] || [ $status -eq 3 ] || fail "$what exited $status: $(tail -3 "$m.out") $(cat "$m.err")"
  local position=0
  [ "$language" = de ] && position=1
  list=$(inventory "$m" "$payload" $vista7 "$dest" $position)
  grep -q '^registry.reg does not import' <<<"$list" && fail "$what: $list"
  # The kinds the finish names: the product files count with the other files.
  missing=$(sed -n 's/^\(product\|files\|settings\|registrations\|shortcuts\): .*/\1/p' <<<"$list" \
    | sed 's/^product$/files/' | sort -u)
  local finish_page last
  # The window as the finish left it: its last picture in the transcript.
  last=$(awk '/^== Form1 "/ { block = "" } { block = block $0 "\n" } END { printf "%s", block }' "$m.out")
  if ! grep -q '^   Command2: \[\(Finish\|Ende\)\]$' <<<"$last"; then
    # The run ended before the finish (the main program could not be
    # installed): nothing was claimed, and something is missing.
    grep -q 'successfully\|erfolgreich abgeschlossen' "$m.out" && fail "$what: success claimed without a finish page"
    [ -n "$list" ] || fail "$what: no finish page over a whole installation"
    return 0
  fi
  finish_page=$(sed -n 's/^   Label11: "\(.*\)"$/\1/p' <<<"$last")
  local launchable=yes expected
  grep -q '^\(product\|settings\): ' <<<"$list" && launchable=no
  if [ -z "$list" ]; then
    expected=${says[$language-success]}
  else
    expected="${says[$language-incomplete]}$(sentences "$language" "$missing" yes)"
    if [ $launchable = yes ] && ! grep -q '^shortcuts$' <<<"$missing"; then
      expected+=" ${says[$language-start-menu]}"
    fi
  fi
  [ "$finish_page" = "$expected" ] || fail "$what: the finish says \"$finish_page\"
  where the machine holds: ${list:-everything}"
  if grep -q '^   Check1: ' <<<"$last"; then
    [ $launchable = yes ] || fail "$what: the launch is offered over: $list"
  else
    [ $launchable = no ] || fail "$what: no launch offered over a product that can start: ${list:-everything}"
  fi
  # The status line before the shortcuts, of what was made before them.
  local before status_line
  before=$(grep -v '^shortcuts$' <<<"$missing")
  status_line=$(grep -F "${says[$language-shortcuts-next]}\"" "$m.out" | tail -n 1 | sed 's/^   Label11: "\(.*\)"$/\1/')
  if [ -z "$before" ]; then expected=${says[$language-installed]}; else
    expected="${says[$language-partly]}$(sentences "$language" "$before" no)"; fi
  [ "$status_line" = "$expected\\n\\n${says[$language-shortcuts-next]}" ] \
    || fail "$what: the status line says \"$status_line\" where the machine holds: ${list:-everything}"
}

# one_case WHAT CONFIG SETTING...: one run on a copy of the
# configuration's machine with these machine.ini settings (each
# "SECTION|KEY|VALUE"), judged.
one_case() {
  local what="$1 on $2 (seed $seed)" config=$2 m="$work/run" exe=$modern setting section key
  [[ $config == classic-* ]] && exe=$classic
  shift 2
  rm -rf "$m"
  cp -r "$(template "$config")" "$m"
  for setting in "$@"; do
    section=${setting%%|*} key=${setting#*|}
    ini "$m" "$section" "${key%%|*}" "${key#*|}"
  done
  run "$exe" "$m" < <(answers "${config##*-}")
  judge "$what" "$config" "$m"
  runs=$((runs + 1))
}

# each WINDOWS WHAT SETTING...: the case on the next configuration of that
# Windows in turn, or with ZOV_FULL=1 on all of them.
each() {
  local windows=$1 what=$2 config
  shift 2
  for config in "${configs[@]}"; do
    [[ $config == *-$windows-* ]] || continue
    [ "$full" = 1 ] && one_case "$what" "$config" "$@"
  done
  [ "$full" = 1 ] && return 0
  while config=${configs[turn]} && turn=$(((turn + 1) % ${#configs[@]})) && [[ $config != *-$windows-* ]]; do :; done
  one_case "$what" "$config" "$@"
}

# The first level of host room at which CONFIG installs whole: a binary
# search between no room and room for everything, on the inventory.
room_that_fits() {
  local config=$1 low=0 high=$((64 * 1024 * 1024)) middle m="$work/probe" exe=$modern vista7=no payload=$modern_payload
  [[ $config == classic-* ]] && exe=$classic payload=$classic_payload
  [[ $config == *-7-* ]] && vista7=yes
  local position=0
  [[ $config == *-de ]] && position=1
  while ((high - low > 1)); do
    middle=$(((low + high) / 2))
    rm -rf "$m"
    cp -r "$(template "$config")" "$m"
    ini "$m" Faults HostFreeBytes $middle
    run "$exe" "$m" < <(answers "${config##*-}")
    if [ -z "$(inventory "$m" "$payload" $vista7 "$dest" $position)" ]; then high=$middle; else low=$middle; fi
  done
  echo $high
}

windows_paths() {  # WINDOWS: the targets of RefuseWrites that an installation on it writes
  local payload=$modern_payload docs local_data programs desktop
  if [ "$1" = 7 ]; then skipped=ZOVUser.exe; else skipped='Zuzuzu Rudavero 5.exe.manifest'; fi
  for sample in "$payload"/sample/*; do
    name=${sample##*/}
    case $name in
      "$skipped") ;;
      SampleProject.qev) ;;
      *.dll) echo "C:\\Windows\\system32\\$name" ;;
      *) echo "$dest\\$name" ;;
    esac
  done
  docs='C:\Users\user\Documents' local_data='C:\Users\user\AppData\Local'
  programs='C:\Users\user\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\ZOV Zuzuzu Rudavero 5'
  desktop='C:\Users\user\Desktop'
  echo "$docs\\ZOV Projects"
  echo "$docs\\ZOV Projects\\SampleProject.qev"
  if [ "$1" = 7 ]; then
    echo "$dest\\UserF.dat"
    echo "$local_data\\Zideruv"
    echo "$local_data\\Zideruv\\ZOV4"
    for name in Dizin Version IncCur dwKFE RecSnd CapSpeed Language; do echo "$local_data\\Zideruv\\ZOV4\\$name"; done
  fi
  echo "$desktop"
  echo "$desktop\\ZOV Zuzuzu Rudavero 5.lnk"
  echo "$programs"
  for name in 'ZOV Zuzuzu Rudavero 5' Scenarca Kineloft 'Zuzuzu Rudavero 5 Help' 'Uninstall Zuzuzu Rudavero 5'; do
    echo "$programs\\$name.lnk"
  done
}

case $part in
  refused-files)
    for windows in 7 xp; do
      while IFS= read -r path; do
        each $windows "RefuseWrites=$path" "Faults|RefuseWrites|$path"
      done < <(windows_paths $windows)
      each $windows "no Programs folder and a silent Program Manager" 'Folders|Programs|' 'Desktop|ProgramManager|no'
    done
    ;;
  refused-keys)
    for key in 'HKEY_LOCAL_MACHINE\Software\Zideruv' 'HKEY_LOCAL_MACHINE\Software\Zideruv\ZOV4' \
      'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZOVScreenRecorder5' \
      'HKEY_CLASSES_ROOT\.qev' 'HKEY_CLASSES_ROOT\ZOV.KineloftProject' \
      'HKEY_CLASSES_ROOT\ZOV.KineloftProject\DefaultIcon' 'HKEY_CLASSES_ROOT\ZOV.KineloftProject\shell' \
      'HKEY_CLASSES_ROOT\ZOV.KineloftProject\shell\open\command'; do
      for windows in 7 xp; do each $windows "RefuseRegistryWrites=$key" "Faults|RefuseRegistryWrites|$key"; done
    done
    ;;
  full-disk-top | full-disk-below)
    # The last 256 KiB on two of the machines, the levels below on one,
    # every fourth from a seeded one; all of them on every machine with ZOV_FULL=1.
    for config in "${configs[@]}"; do
      if [ "$full" != 1 ] && [ "$config" != "${configs[turn]}" ]; then
        [ $part = full-disk-top ] && [ "$config" = "${configs[(turn + 4) % 8]}" ] || continue
      fi
      fits=$(room_that_fits "$config")
      one_case "HostFreeBytes=$fits (whole)" "$config" "Faults|HostFreeBytes|$fits"
      grep -q 'successfully\|erfolgreich abgeschlossen' "$work/run.out" || fail "$config: no success at $fits bytes"
      if [ $part = full-disk-top ]; then
        for ((level = fits - 4096; level >= fits - 256 * 1024; level -= 4096)); do
          one_case "HostFreeBytes=$level" "$config" "Faults|HostFreeBytes|$level"
        done
      else
        stride=4 first=$((seed % 4))
        [ "$full" = 1 ] && stride=1 first=0
        for ((level = fits - 256 * 1024 - (1 + first) * 65536; level >= 0; level -= stride * 65536)); do
          one_case "HostFreeBytes=$level" "$config" "Faults|HostFreeBytes|$level"
        done
      fi
    done
    ;;
  *) fail "unknown part $part" ;;
esac
echo "finish matches the machine, $part: ok ($runs runs, seed $seed)"
