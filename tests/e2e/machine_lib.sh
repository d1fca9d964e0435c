# Helpers shared by the end-to-end scripts: fresh machines of a Windows
# class, the unattended walk, and reading back what an installation left.
# Sourced by a script that sets $work, its scratch folder.

fail() { echo "FAIL: $*"; exit 1; }

# The walk through the wizard up to Install, as tools/unattended.zs takes it
# with DEST as the destination.
walk_to_install() {
  printf 'choose Combo1 English\nclick Command2\nclick Option1\nclick Command2\ntype Text2 %s\nclick Command2\n' "$1"
}

# The AVIFile keys and the class identifiers they must hold.
avi_keys='Compressors\vids {00020001-0000-0000-C000-000000000046}
Compressors\auds {0002000F-0000-0000-C000-000000000046}
Extensions\WAV {00020003-0000-0000-C000-000000000046}
Extensions\AVI {00020000-0000-0000-C000-000000000046}
Extensions\AU {00020003-0000-0000-C000-000000000046}
Extensions\BMP {00020006-0000-0000-C000-000000000046}
Extensions\DIB {00020006-0000-0000-C000-000000000046}
RIFFHandlers\AVI {00020000-0000-0000-C000-000000000046}
RIFFHandlers\WAVE {00020003-0000-0000-C000-000000000046}
CLSID {00022602-0000-0000-C000-000000000046}'

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

# product_files MACHINE PAYLOAD VISTA7 DEST: "SAMPLE<tab>TARGET" for each
# product file that an installation into DEST leaves byte-equal to its
# sample (the runtime package, deleted once it ran, and the sample project,
# patched in place, are left out).
product_files() {
  local skipped name sample folder
  folder=$(host_path "$1" "$4")
  if [ "$3" = yes ]; then skipped=ZOVUser.exe; else skipped='Zuzuzu Rudavero 5.exe.manifest'; fi
  for sample in "$2"/sample/*; do
    name=${sample##*/}
    case $name in
      vcredist_x86.exe | SampleProject.qev | "$skipped") continue ;;
      *.dll) printf '%s\t%s\n' "$sample" "$1/drives/C/Windows/system32/$name" ;;
      *) printf '%s\t%s\n' "$sample" "$folder/$name" ;;
    esac
  done
}

# products_hold MACHINE PAYLOAD VISTA7 DEST EARLIER: every product file is
# its sample, or with EARLIER=yes also "earlier <name>" as as_earlier left
# it; else prints the first other one, with its size, and fails.
products_hold() {
  product_files "$1" "$2" "$3" "$4" | EARLIER=$5 perl -e '
    sub slurp { open(my $f, "<:raw", $_[0]) or return undef; local $/; my $all = <$f>; return $all // "" }
    while (my $line = <STDIN>) {
      chomp $line;
      my ($sample, $target) = split /\t/, $line;
      my ($name) = $target =~ m{([^/]+)$};
      my $got = slurp($target);
      next if defined $got && ($got eq slurp($sample) || ($ENV{EARLIER} eq "yes" && $got eq "earlier $name\r\n"));
      print "$name (", defined $got ? length($got) . " bytes" : "missing", ")\n";
      exit 1;
    }'
}

# installed_whole WHAT MACHINE PAYLOAD VISTA7 DEST: the run ($status) ended
# on the finish page, every product file is the sample's and the temporary
# folder is gone.
installed_whole() {
  local other
  [ $status -eq 0 ] || fail "$1 exited $status: $(tail -3 "$2.out") $(cat "$2.err")"
  grep -q '^== Form1 closed$' "$2.out" && grep -q '^   Command2: \[Finish\]$' "$2.out" \
    || fail "$1: did not finish: $(grep -A2 '^??' "$2.out" | head -6)"
  other=$(products_hold "$2" "$3" "$4" "$5" no) || fail "$1: $other is not the sample file"
  find "$2/drives" -iname zovtmp | grep -q . && fail "$1: the temporary folder stayed"
  return 0
}

# Files a user keeps in the machine folder, which every run leaves alone,
# among them names that a save file of the machine could have had.
user_files='registry.reg.backup registry.reg.before attributes.before progman.ini.backup notes.txt'
keep_user_files() {  # MACHINE
  local own
  for own in $user_files; do printf '%s of the user\n' $own >"$1/$own"; done
}

# no_leftovers WHAT MACHINE: nothing that a killed run leaves half-done
# stays: no new file of the installer or of the shell object's shortcuts
# beside a file under drives/, no save file of the machine; and the user's
# own files in the machine folder are there as they were.
no_leftovers() {
  local left own
  left=$(find "$2/drives" -iname 'zov????.tmp' -o -iname 'lnk????.tmp' | head -3)
  [ -z "$left" ] || fail "$1: left beside replaced files: $left"
  left=$(find "$2" -maxdepth 1 -name '*.~zovsave-*' | head -3)
  [ -z "$left" ] || fail "$1: save files of the machine stayed: $left"
  for own in $user_files; do
    [ "$(cat "$2/$own" 2>/dev/null)" = "$own of the user" ] || fail "$1: the user's $own did not stay"
  done
}

# everything_in_place WHAT MACHINE PAYLOAD VISTA7 DEST: the run ($status)
# installed whole without a box, and the inventory finds every part.
everything_in_place() {
  local missing
  installed_whole "$1" "$2" "$3" "$4" "$5"
  grep -q '^?? box' "$2.out" && fail "$1: a box: $(grep -A1 '^?? box' "$2.out" | head -2)"
  missing=$(inventory "$2" "$3" "$4" "$5" 0)
  [ -z "$missing" ] || fail "$1: not in place: $missing"
}

# The product's settings folder on Vista/7.
settings_folder() { printf '%s/drives/C/Users/user/AppData/Local/Zideruv/ZOV4' "$1"; }

# as_earlier MACHINE PAYLOAD VISTA7 DEST: makes an installed machine one that
# an earlier version left: every product file holds "earlier <name>", and the
# settings (files on Vista/7, the registry elsewhere) hold Version 18 and the
# user's own InterfaceStyle 0.
as_earlier() {
  local sample target
  while IFS=$'\t' read -r sample target; do
    printf 'earlier %s\r\n' "${target##*/}" >"$target"
  done < <(product_files "$@")
  if [ "$3" = yes ]; then
    printf '18\r\n' >"$(settings_folder "$1")/Version"
    printf '0\r\n' >"$(settings_folder "$1")/InterfaceStyle"
  else
    sed -i 's/^"Version"=dword:00000013$/"Version"=dword:00000012\n"InterfaceStyle"=dword:00000000/' "$1/registry.reg"
  fi
}

# nothing_lost WHAT MACHINE PAYLOAD VISTA7 DEST EARLIER: what a kill, a full
# disk or another installer may leave: registry.reg imports; every settings
# value holds one whole line (the user's InterfaceStyle 0 kept, Version 18
# or 19 after an earlier version); with EARLIER=yes every product file holds
# its earlier content or its new one, never a part.
nothing_lost() {
  local what=$1 m=$2 got
  hivex "$m" >"$m.reg" 2>"$m.hivex" || fail "$what: registry.reg does not import: $(cat "$m.hivex")"
  if [ "$4" = yes ] && [ -d "$(settings_folder "$m")" ]; then
    got=$(perl -e '
      for my $file (glob("$ARGV[0]/*")) {
        next if $file =~ m{/ZOV[0-9A-F]{4}\.tmp$};
        open(my $f, "<:raw", $file) or die; local $/; my $text = <$f> // "";
        if ($text !~ /\A[^\r\n]+\r\n\z/) { $text =~ s/\r/\\r/g; $text =~ s/\n/\\n/g; print "$file: \"$text\"\n"; exit 1 }
      }' "$(settings_folder "$m")") || fail "$what: a value is not one whole line: $got"
  fi
  [ "$6" = yes ] || return 0
  got=$(products_hold "$m" "$3" "$4" "$5" yes) || fail "$what: $got is neither its earlier content nor its new one"
  if [ "$4" = yes ]; then
    [ "$(cat "$(settings_folder "$m")/InterfaceStyle")" = $'0\r' ] || fail "$what: the user's InterfaceStyle is lost"
    got=$(tr -d '\r\n' <"$(settings_folder "$m")/Version")
  else
    [ "$(reg_value "$m.reg" 'HKEY_LOCAL_MACHINE\SOFTWARE\Zideruv\ZOV4' InterfaceStyle)" = "4|$(dword_hex 0)" ] \
      || fail "$what: the user's InterfaceStyle is lost"
    got=$(reg_value "$m.reg" 'HKEY_LOCAL_MACHINE\SOFTWARE\Zideruv\ZOV4' Version)
    got=${got#4|}
    got=$((16#${got:0:2}))
  fi
  [ "$got" = 18 ] || [ "$got" = 19 ] || fail "$what: Version is $got"
}

# machine_folder MACHINE KEY: a [Folders] entry of the machine's machine.ini.
machine_folder() {
  awk -v key="$2" '/^\[/ { folders = ($0 == "[Folders]") } folders && index($0, key "=") == 1 {
    print substr($0, length(key) + 2); exit }' "$1/machine.ini"
}

# lnk_leads FILE TARGET WORKDIR ARGUMENTS: lnkinfo reads the shortcut FILE
# and finds it leading to TARGET, in WORKDIR, with ARGUMENTS (may be empty).
lnk_leads() {
  local info
  info=$(lnkinfo "$1" 2>&1) || return 1
  grep -qxF "	Local path			: $2" <<<"$info" && grep -qxF "	Working directory		: $3" <<<"$info" || return 1
  [ -z "$4" ] || grep -qxF "	Command line arguments		:  $4" <<<"$info"
}

# inventory MACHINE PAYLOAD VISTA7 DEST LANGUAGE: what an installation into
# DEST with the language list at LANGUAGE (0 English, 1 Deutsch, ...) should
# have left on the machine and did not, read from the machine folder with
# other people's tools: one line "KIND: what" per missing part, nothing when
# everything is in place. KIND is product (a product file or library not
# byte-equal to its sample, or the runtime package not run), files (the
# patched sample project, UserF.dat), settings, registrations (the uninstall
# entry, the .qev association) or shortcuts (the shell's, read with lnkinfo,
# or Program Manager's group).
inventory() {
  local m=$1 payload=$2 vista7=$3 dest=$4 language=$5 got name value
  local program="$dest\\Zuzuzu Rudavero 5.exe" help="$dest\\ZOV5.chm" uninstaller="$dest\\Uninstall Zuzuzu Rudavero 5.exe"
  local install docs local_data
  install=$(host_path "$m" "$dest")
  docs=$(machine_folder "$m" Documents)
  local_data=$(machine_folder "$m" LocalAppData)

  got=$(products_hold "$m" "$payload" "$vista7" "$dest" no) || echo "product: $got"
  grep -qF ": $dest\\vcredist_x86.exe (window style 1)" "$m/log" || echo "product: the runtime package did not run"

  local project="$install/Projects/SampleProject.qev"
  [ -n "$docs" ] && [ -d "$(host_path "$m" "$docs")" ] && project="$(host_path "$m" "$docs")/ZOV Projects/SampleProject.qev"
  { head -c 25 "$payload/sample/SampleProject.qev"; printf '%-512s' "$dest\\SampleAVI.avi"
    tail -c +538 "$payload/sample/SampleProject.qev"; } | cmp -s - "$project" || echo "files: the sample project"
  if [ "$vista7" = yes ]; then
    printf '%s\r\n' "$local_data" | cmp -s - "$install/UserF.dat" || echo "files: UserF.dat"
  fi

  local reg settings='Version=19 IncCur=1 dwKFE=15 RecSnd=1 CapSpeed=1'
  reg=$(hivex "$m" 2>&1) || { echo "registry.reg does not import: $reg"; return; }
  if [ "$vista7" = yes ]; then
    local values
    values="$(host_path "$m" "$local_data")/Zideruv/ZOV4"
    for setting in "Dizin=$dest" $settings "Language=$language"; do
      printf '%s\r\n' "${setting#*=}" | cmp -s - "$values/${setting%%=*}" || echo "settings: ${setting%%=*}"
    done
  else
    [ "$(reg_value <(echo "$reg") 'HKEY_LOCAL_MACHINE\SOFTWARE\Zideruv\ZOV4' Dizin)" = "1|$(text_hex "$dest")" ] \
      || echo "settings: Dizin"
    for setting in $settings "Language=$language"; do
      [ "$(reg_value <(echo "$reg") 'HKEY_LOCAL_MACHINE\SOFTWARE\Zideruv\ZOV4' "${setting%%=*}")" = \
        "4|$(dword_hex "${setting#*=}")" ] || echo "settings: ${setting%%=*}"
    done
  fi

  local uninstall='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZOVScreenRecorder5'
  while IFS='|' read -r key name value; do
    [ "$(reg_value <(echo "$reg") "$key" "$name")" = "1|$(text_hex "$value")" ] || echo "registrations: $key"
  done <<<"$uninstall|DisplayName|ZOV Zuzuzu Rudavero 5
$uninstall|UninstallString|$uninstaller
HKEY_CLASSES_ROOT\\.qev||ZOV.KineloftProject
HKEY_CLASSES_ROOT\\ZOV.KineloftProject||ZOV Kineloft Project File
HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\shell\\open\\command||\"$program\" /kineloft %1
HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\DefaultIcon||$program,0"

  # The help and uninstall shortcuts or items are made for the files that are there.
  local rows="ZOV Zuzuzu Rudavero 5|$program|
Scenarca|$program|/scenarca
Kineloft|$program|/kineloft"
  [ -f "$install/ZOV5.chm" ] && rows+=$'\n'"Zuzuzu Rudavero 5 Help|$help|"
  [ -f "$install/Uninstall Zuzuzu Rudavero 5.exe" ] && rows+=$'\n'"Uninstall Zuzuzu Rudavero 5|$uninstaller|"
  if [ -f "$m/progman.ini" ] && grep -qxF '[ZOV Zuzuzu Rudavero 5]' "$m/progman.ini"; then
    local title target arguments expected=''
    while IFS='|' read -r title target arguments; do
      expected+="Item=$title"$'\n'"Command=\"$target\"${arguments:+ $arguments}"$'\n'
    done <<<"$rows"
    awk '/^\[/ { group = ($0 == "[ZOV Zuzuzu Rudavero 5]"); next } group && NF' "$m/progman.ini" \
      | cmp -s - <(printf '%s' "$expected") || echo "shortcuts: Program Manager's group"
  else
    local group desktop
    group="$(host_path "$m" "$(machine_folder "$m" Programs)")/ZOV Zuzuzu Rudavero 5"
    desktop=$(machine_folder "$m" Desktop)
    [ -n "$desktop" ] && rows+=$'\n'"$(host_path "$m" "$desktop")/ZOV Zuzuzu Rudavero 5|$program|"
    while IFS='|' read -r name target arguments; do
      [[ $name == /* ]] || name="$group/$name"
      lnk_leads "$name.lnk" "$target" "$dest" "$arguments" || echo "shortcuts: ${name##*/}.lnk"
    done <<<"$rows"
  fi
}
