#!/usr/bin/env bash
# Runs every fuzz target of the fuzz preset for a bounded time each: SECONDS.
set -euo pipefail
seconds=${1:?usage: run-all.sh SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build/fuzz/fuzz
"$here/lz/run-bounded.sh" "$seconds" "$build/lz/szdd_fuzz"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/registry" "$corpus/ini" "$corpus/progman"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Zideruv]\r\n"Dizin"=hex(1):43,3a\r\n"Version"=dword:00000013\r\n@="x"\r\n' >"$corpus/registry/seed"
printf '[Windows]\nPlatformId=2\nMajorVersion=6\n[Drive C]\nType=3\nFreeBytes=100\n[Faults]\nRefuseWrites=C:\\A;C:\\B\n' >"$corpus/ini/seed"
printf '[ZOV Zuzuzu Rudavero 5]\nItem=Scenarca\nCommand="C:\\Program Files\\Z\\Z.exe" /scenarca\n' >"$corpus/progman/seed"
"$build/registry_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$corpus/registry"
"$build/machine_ini_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$corpus/ini"
"$build/progman_record_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 "$corpus/progman"
