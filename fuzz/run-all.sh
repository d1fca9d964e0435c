#!/usr/bin/env bash
# Runs every fuzz target of the fuzz preset for a bounded time each: SECONDS.
# Prints one line a target ("Fuzzing NAME: RUNS runs in SECONDS s, no crash"); a target that crashes shows
# what libFuzzer said, leaves its crash input in the current folder and fails
# the run.
set -euo pipefail
seconds=${1:?usage: run-all.sh SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build/fuzz/fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/registry" "$corpus/ini" "$corpus/progman"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Zideruv]\r\n"Dizin"=hex(1):43,3a\r\n"Version"=dword:00000013\r\n@="x"\r\n' >"$corpus/registry/seed"
printf '[Windows]\nPlatformId=2\nMajorVersion=6\n[Drive C]\nType=3\nFreeBytes=100\n[Faults]\nRefuseWrites=C:\\A;C:\\B\n' >"$corpus/ini/seed"
printf '[ZOV Zuzuzu Rudavero 5]\nItem=Scenarca\nCommand="C:\\Program Files\\Z\\Z.exe" /scenarca\n' >"$corpus/progman/seed"

# fuzz NAME COMMAND...: runs one target with its output kept aside.
fuzz() {
  local name=$1 log=$corpus/$1.log
  shift
  if ! "$@" >"$log" 2>&1; then
    echo "Fuzzing $name: CRASHED"
    grep -v '^#[0-9]' "$log" | tail -n 60
    exit 1
  fi
  local runs
  runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo '?')
  echo "Fuzzing $name: $runs runs in $seconds s, no crash"
}
fuzz szdd_fuzz "$here/lz/run-bounded.sh" "$seconds" "$build/lz/szdd_fuzz"
for target in registry:registry_fuzz ini:machine_ini_fuzz progman:progman_record_fuzz; do
  fuzz "${target#*:}" "$build/${target#*:}" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$corpus/${target%%:*}"
done
