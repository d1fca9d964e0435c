#!/usr/bin/env bash
# Runs setupmodern.exe with the real-window backend on a virtual X server,
# with a window manager drawing the title bars, and drives it as a person
# would, in English and then in German: real clicks (xdotool) through pages
# 1, 2 and 4, the Install button, the cancel question answered No, and Finish
# on the finish page. Screenshots of the pages before the finish page and of
# the question go to the folder given; the progress page is taken half-way,
# while the runtime package runs (the machine lets it run for four seconds). Fails when the window does not appear, its caption is wrong, or a
# click does not reach its handler (the page or the caption does not change).
#
#   wizard_under_xvfb.sh SETUPMODERN_EXE SCREENSHOT_FOLDER
set -u
for tool in xvfb-run xauth xdotool import identify xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (Debian: xvfb xauth xdotool imagemagick x11-utils)"; exit 1; }
done
if [ -z "${ZOV_INSIDE_XVFB:-}" ]; then
  exec env ZOV_INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    bash "$(dirname "$0")/with_window_manager.sh" bash "$0" "$@"
fi
exe=$(realpath "$1")
shots=$2
mkdir -p "$shots"
work=$(mktemp -d)
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -s "$work/err" ] && sed 's/^/  program: /' "$work/err"
  import -window root "$shots/failure.png" 2>/dev/null && echo "  the screen: $shots/failure.png"
  exit 1
}

# Waits up to ten seconds for a command to succeed.
within() {
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

window=        # the wizard's window
X=0 Y=0        # its client area on the screen

find_window() {  # find_window TITLE: sets $found to its window id
  found=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
  [ -n "$found" ]
}
locate() {
  local WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$window")"
  X=$X Y=$Y
}
# click X Y: a click at a point of the wizard's client area (pixels).
click() { xdotool mousemove $((X + $1)) $((Y + $2)) sleep 0.1 click 1 sleep 0.2; }
# colour X Y: the colour on the screen at a point of the client area.
colour() { import -window root -crop 1x1+$((X + $1))+$((Y + $2)) -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1; }
is() { [ "$(colour "$1" "$2")" = "$3" ]; }
isnt() { [ "$(colour "$1" "$2")" != "$3" ]; }
white='#FFFFFF'
face='#D4D0C8'
# The pages, told apart by what lies at two points where no text is drawn:
# the agreement box (76,190) and the destination box (400,75), where the
# agreement has its scroll bar.
on_page_1() { is 76 190 $face && isnt 400 75 $white; }
on_page_2() { is 76 190 $white && isnt 400 75 $white; }
on_page_4() { is 400 75 $white && is 76 190 $face; }
on_page_5() { isnt 400 75 $white && isnt 76 190 $white; }
shot() {  # shot NAME: the wizard with its frame, and whatever lies over it
  sleep 0.3
  import -frame -window "$window" "$work/frame.png" || fail "no screenshot $1"
  # The frame's size, and the client area's place in it: borders alike on three sides.
  local size fw fh WIDTH HEIGHT SCREEN WINDOW X Y
  size=$(identify -format '%w %h' "$work/frame.png")
  fw=${size% *} fh=${size#* }
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local border=$(((fw - WIDTH) / 2))
  import -window root -crop "${fw}x${fh}+$((X - border))+$((Y + HEIGHT + border - fh))" +repage "$shots/$1.png" \
    || fail "no screenshot $1"
}
# The window asks for a close box and no minimise or maximise button (Motif hints).
fixed_title_bar() { xprop -id "$1" _MOTIF_WM_HINTS | grep -q '= 0x3, 0x24, 0x1a, 0x0, 0x0$'; }
caption_is() { [ "$(xdotool getwindowname "$window")" = "$1" ]; }

run() {  # run LANGUAGE CAPTION QUESTION_TITLE
  local lang=$1 caption=$2 question=$3
  # A fresh machine on which the runtime package runs for four seconds, with
  # the install folder there beforehand, as the destination checks leave it.
  printf 'close Form1\nanswer Yes\n' | ZOV_UI=script ZOV_MACHINE="$work/machine-$lang" "$exe" >/dev/null 2>&1 \
    || fail "$lang: the machine could not be made"
  printf '\n[Program vcredist_x86.exe]\nRunsFor=4000\n' >>"$work/machine-$lang/machine.ini"
  mkdir -p "$work/machine-$lang/drives/C/Program Files/ZOV Zuzuzu Rudavero 5"
  ZOV_UI=fltk ZOV_MACHINE="$work/machine-$lang" "$exe" >"$work/out" 2>"$work/err" &
  app=$!
  within find_window "ZOV Rededi Dirirozo - Install" || fail "$lang: the wizard's window did not appear"
  window=$found
  within caption_is "ZOV Rededi Dirirozo - Install" || fail "$lang: the caption is $(xdotool getwindowname "$window")"
  sleep 0.5
  locate
  within on_page_1 || fail "$lang: the window does not show the welcome page"
  fixed_title_bar "$window" || fail "$lang: the wizard's title bar has a minimise button"

  if [ "$lang" = de ]; then
    # The language list drops down; the keys choose its second item, Deutsch.
    click 200 143
    xdotool key --delay 100 Down Down Return
    within caption_is "$caption" || fail "$lang: choosing Deutsch gave the caption $(xdotool getwindowname "$window")"
  fi
  shot "$lang-1-welcome"

  click 390 291  # Next
  within on_page_2 || fail "$lang: Next did not show the agreement"
  click 85 224   # Yes I Agree.
  sleep 0.3
  shot "$lang-2-agreement"
  click 390 291  # Next, enabled by the agreement
  within on_page_4 || fail "$lang: agreeing and Next did not show the destination page"
  click 300 75   # into the destination box: it stays drawn
  sleep 0.5
  on_page_4 || fail "$lang: a click into the destination box blanked it"
  shot "$lang-3-destination"
  click 320 291  # Back
  within on_page_2 || fail "$lang: Back did not show the agreement again"
  click 85 224
  sleep 0.3
  click 390 291
  within on_page_4 || fail "$lang: the destination page did not come back"
  click 390 291  # Install
  within on_page_5 || fail "$lang: Install did not leave the destination page"
  sleep 1.5  # the slots before the runtime package's
  shot "$lang-4-progress"

  click 241 291  # Cancel: the question
  within find_window "$question" || fail "$lang: Cancel did not ask the cancel question"
  local box=$found
  fixed_title_bar "$box" || fail "$lang: the question's title bar has a minimise button"
  shot "$lang-5-cancel-question"
  local BX BY BW BH
  eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/B/')"
  # Yes and No: 75 pixels wide, 6 apart, centred, 12 above the bottom.
  xdotool mousemove $((BX + BWIDTH / 2 + 3 + 37)) $((BY + BHEIGHT - 12 - 11)) sleep 0.1 click 1
  within sh -c "! xdotool search --name '^$question\$' >/dev/null" || fail "$lang: No did not close the question"
  kill -0 "$app" 2>/dev/null || fail "$lang: answering No ended the program"
  on_page_5 || fail "$lang: answering No changed the page"

  # The installation goes on to the finish page, where Finish ends the program.
  sleep 3
  within sh -c "xdotool mousemove $((X + 390)) $((Y + 291)) click 1; sleep 0.2; ! kill -0 $app 2>/dev/null" \
    || fail "$lang: Finish did not end the program"
  wait "$app"
  local status=$?
  app=
  [ $status -eq 0 ] || fail "$lang: the program ended with status $status"
}

run en "ZOV Rededi Dirirozo - Install" "Rededi Dirirozo"
run de "ZOV Bildschirm Recorder - Installation" "Bildschirm Recorder"
echo "wizard under xvfb: ok"
