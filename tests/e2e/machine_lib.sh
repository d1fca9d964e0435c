# Helpers shared by the end-to-end scripts: fresh machines of a Windows
# class, the unattended walk, and reading back what an installation left.
# Sourced by a script that sets $work, its scratch folder.

fail() { echo "FAIL: $*"; exit 1; }

# The walk through the wizard up to Install, as tools/unattended.zs takes it
# with DEST as the destination.
walk_to_install() {
  printf 'choose Combo1 English\nclick Command2\nclick Option1\nclick Command2\ntype Text2 %s\nclick Command2\n' "$1"
}

# fresh EXE MACHINE PLATFORM MAJOR MINOR: a new machine of that Windows
# version on virtual time, made by the installer's own first start.
fresh() {
  rm -rf "$2"
  printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$2" "$1" >/dev/null 2>&1 \
    || fail "the machine $2 could not be made"
  sed -i -e "s/^PlatformId=.*/PlatformId=$3/" -e "s/^MajorVersion=.*/MajorVersion=$4/" \
    -e "s/^MinorVersion=.*/MinorVersion=$5/" -e 's/^Clock=.*/Clock=virtual/' "$2/machine.ini"
}

# ini MACHINE SECTION KEY VALUE: sets one machine.ini line of a section,
# adding the line, or the section, when it is not there.
ini() {
  grep -qxF "[$2]" "$1/machine.ini" || printf '\n[%s]\n' "$2" >>"$1/machine.ini"
  S="$2" K="$3" V="$4" awk '
    BEGIN { s = ENVIRON["S"]; line = ENVIRON["K"] "=" ENVIRON["V"]; prefix = ENVIRON["K"] "=" }
    /^\[.*\]$/ { if (section == s && !done) { print line; done = 1 } section = substr($0, 2, length($0) - 2) }
    section == s && index($0, prefix) == 1 { if (!done) print line; done = 1; next }
    { print }
    END { if (section == s && !done) print line }' "$1/machine.ini" >"$1/machine.ini.new" \
    && mv "$1/machine.ini.new" "$1/machine.ini"
  grep -qxF "$3=$4" "$1/machine.ini" || fail "could not set [$2] $3=$4 in $1/machine.ini"
}

# run EXE MACHINE: runs the installer with the script on standard input;
# the transcript goes to MACHINE.out, the error stream to MACHINE.err, the
# exit status to $status.
run() {
  ZOV_UI=script ZOV_MACHINE="$2" "$1" >"$2.out" 2>"$2.err"
  status=$?
}

# Windows path (C:\...) to the file in the machine folder.
host_path() {
  local p=${2#?:\\}
  printf '%s/drives/%s/%s' "$1" "${2:0:1}" "${p//\\//}"
}

# The registry as libwin-hivex-perl's importer reads it: KEY and VALUE lines.
hivex() { perl "$(dirname "${BASH_SOURCE[0]}")/../machine/hivex_import.pl" "$1/registry.reg" cp1252; }

# reg_value LISTING KEY NAME: "type|hex" of one value in a hivex listing
# (key compared without case). A text's closing NUL, which the importer
# adds to quoted texts and not to hex(1) ones, is left out.
reg_value() {
  KEY="$2" NAME="$3" awk 'BEGIN { key = ENVIRON["KEY"]; name = ENVIRON["NAME"] }
    /^KEY / { inkey = (tolower(substr($0, 5)) == tolower(key)); next }
    inkey && index($0, "VALUE " name "|") == 1 {
      v = substr($0, 8 + length(name))
      if (v ~ /^1\|/ && length(v) % 2 == 0 && v ~ /00$/) v = substr(v, 1, length(v) - 2)
      print v; exit
    }' "$1"
}
text_hex() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'; }
dword_hex() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
