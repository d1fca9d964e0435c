#!/usr/bin/env bash
# Runs the already-built SZDD fuzz target for a bounded time on a seed corpus
# made here: SECONDS [FUZZ_BINARY]. The binary defaults to the fuzz preset's.
# Crash inputs, if any, are left in the current folder.
set -euo pipefail

seconds=${1:?usage: run-bounded.sh SECONDS [FUZZ_BINARY]}
here=$(cd "$(dirname "$0")" && pwd)
binary=${2:-$here/../../build/fuzz/fuzz/lz/szdd_fuzz}
if [[ ! -x $binary ]]; then
  echo "run-bounded.sh: no fuzz binary at $binary (build the fuzz preset first)" >&2
  exit 2
fi

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
header() { # unpacked size as four \x escapes
  printf 'SZDD\x88\xf0\x27\x33\x41\x00'"$1"
}
header '\x00\x00\x00\x00' > "$corpus/empty-member"
header '\x05\x00\x00\x00' > "$corpus/blanks-from-fill"; printf '\x00\x00\x02' >> "$corpus/blanks-from-fill"
header '\x08\x00\x00\x00' > "$corpus/overlap"; printf '\x03AB\xf0\xf3' >> "$corpus/overlap"
header '\x14\x00\x00\x00' > "$corpus/wrap"; printf '\xffabcdefgh\xffijklmnop\x01q\xfe\xf0' >> "$corpus/wrap"
header '\x10\x00\x00\x00' > "$corpus/truncated"; printf '\xffabc' >> "$corpus/truncated"
printf 'SZDD\x88\xf0\x27\x33\x42\x00\x01\x00\x00\x00\x01x' > "$corpus/unknown-mode"
printf 'SZDD\x88\xf0\x27' > "$corpus/partial-magic"
printf 'plain text, copied as it is\n' > "$corpus/plain"
head -c 2000 /dev/urandom > "$corpus/random"

"$binary" -max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1 "$corpus"
