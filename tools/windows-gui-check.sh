#!/usr/bin/env bash
# The desktop program for Windows under Wine, on a virtual display with a window manager, driven with
# xdotool as a user drives it. veltrano-cli.exe writes the start-up designs (data/startup-designs.json) as
# a cigarette file; the program, started in a copy of data/ with that file on its command line (as a
# double-click on a .cig starts it), must show them (the stationary flow view's colours are looked for
# in a screenshot) in readable texts (the panel's, the menus' and the sheet's words are read back from
# screenshots by OCR: a new Wine prefix has no Tahoma, the font Windows' dialog font stands for); then
# the current design's sheet and OK, Save As to a new file, and each view. That file must equal byte for
# byte what veltrano-cli.exe writes for the file recalculated, and what the Linux program saves the same
# way within 1e-4 (Windows' pow is not glibc's, docs/windows.md). A screenshot of every step stays in
# build/windows-gui/gui-check/shots/.
#
# Needs the windows-gui build (veltrano.exe, veltrano-cli.exe and what lies beside them) and the default
# build (veltrano). Runs in a new Wine prefix of its own, which has no Arial, Courier New or Tahoma.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS=0

out="$PWD/build/windows-gui/gui-check"
windows_bin="$PWD/build/windows-gui/bin"
linux_bin="$PWD/build/default/apps"
# The Windows form of a path under / (Wine's drive Z:).
windowsPath() { local path="Z:${1//\//\\}"; echo "$path"; }
rm -rf "$out"
mkdir -p "$out/shots"

say() { echo "-- $*"; }
fail() {
  echo "error: $*" >&2
  import -window root "$out/shots/failure.png" 2>/dev/null || true
  exit 1
}

# A display of its own (the first free number, which Xvfb reports) with openbox on it.
exec 3> "$out/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp > "$out/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$out/display" ] && break; sleep 0.2; done
[ -s "$out/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$out/display")"
openbox > "$out/openbox.log" 2>&1 &
openbox=$!
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  WINEPREFIX="$out/wine" wineserver -k 2>/dev/null || true
  kill "$openbox" "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
say "a new Wine prefix"
wineboot --init > "$out/wineboot.log" 2>&1
wineserver --wait

# waitFor TITLE: the id of the visible window whose title starts with TITLE, within a minute.
waitFor() {
  local id
  for _ in $(seq 120); do
    id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | tail -n1) && [ -n "$id" ] && {
      echo "$id"
      return
    }
    sleep 0.5
  done
  fail "no window titled '$1' appeared"
}
# visibleWindows: the ids of the visible windows, one a line.
visibleWindows() { xdotool search --onlyvisible --name '' 2>/dev/null || true; }
# newWindow KNOWN: the id of a visible window not among KNOWN (ids, one a line), within a minute. Wine's
# own file dialog has no title to look for.
newWindow() {
  local id
  for _ in $(seq 120); do
    id=$(visibleWindows | grep -vxF -f <(echo "$1") | tail -n1) && [ -n "$id" ] && {
      echo "$id"
      return
    }
    sleep 0.5
  done
  fail "no new window appeared"
}
# gone TITLE: waits until no visible window's title starts with TITLE.
gone() {
  for _ in $(seq 120); do
    xdotool search --onlyvisible --name "^$1" > /dev/null 2>&1 || return 0
    sleep 0.5
  done
  fail "the window '$1' did not close"
}
# keys WINDOW KEY...: activates the window and types the keys, one after the other.
keys() {
  local window="$1"
  shift
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.4
  done
}
shot() {
  sleep 1.5  # the repaint after the last step
  import -window root "$out/shots/$1.png"
}
# colourCount FILE R G B: how many pixels of the screenshot have exactly that colour.
colourCount() {
  convert "$1" -fill black +opaque "rgb($2,$3,$4)" -fill white -opaque "rgb($2,$3,$4)" \
    -format "%[fx:round(mean*w*h)]" info:
}

# readable WINDOW NAME CROP WORD...: the window's picture (cut to CROP, an ImageMagick geometry, or
# whole for "") read back by OCR must hold at least two thirds of the words. Dingbats or empty boxes in
# place of the texts give none of them.
readable() {
  local window="$1" name="$2" crop="$3"
  shift 3
  import -window "$window" "$out/shots/$name-ocr.png"
  convert "$out/shots/$name-ocr.png" ${crop:+-crop "$crop"} -scale 300% "$out/shots/$name-ocr.png"
  local text found=0 word
  text=$(tesseract "$out/shots/$name-ocr.png" - 2> /dev/null | tr '\n' ' ')
  for word in "$@"; do
    grep -qiF -- "$word" <<<"$text" && found=$((found + 1))
  done
  [ $((found * 3)) -ge $(($# * 2)) ] || fail "$name: only $found of the $# words read back: $text"
  say "$name: $found of $# words read back"
}

# drive NAME SAVE_AS_NAME PROGRAM...: starts the program in a copy of data/, reads its panel and menus,
# reads and OKs the current design's sheet, saves the designs as $out/NAME/saved.cig (typed as
# SAVE_AS_NAME), then looks at the views and exits.
drive() {
  local name="$1" save_as="$2"
  shift 2
  mkdir -p "$out/$name"
  cp data/models.dat data/Startup_cigarette.dat "$out/$name/"
  say "$name: start-up"
  (cd "$out/$name" && exec "$@" > "$out/$name/program.log" 2>&1) &
  program=$!
  local main
  main=$(waitFor "veltrano 4.1")
  xdotool windowmove --sync "$main" 0 0 2>/dev/null || true
  shot "$name-1-startup"
  readable "$(waitFor "Cigarette Design\$")" "$name-panel" "" Open Save Print Display "Stationary flow" \
    "Reference cigarette" "Copy to current" "Problem solver" Exit
  readable "$main" "$name-menus" "0x40+0+0" File Edit View "Cigarette Design" Extras

  say "$name: the current design's sheet, OK"
  keys "$main" alt Right Right Right Down Down Return
  local sheet
  sheet=$(waitFor "Cigarette Design Specification Sheet")
  shot "$name-2-sheet"
  readable "$sheet" "$name-sheet" "" "Tipping Paper" Perforation "Plug Wrap Paper" "Filter Ventilation" \
    "Length of the tipping paper" Cancel
  keys "$sheet" Return
  gone "Cigarette Design Specification Sheet"

  say "$name: Save As"
  local before dialog
  before=$(visibleWindows)
  keys "$main" alt Down Down Down Return
  dialog=$(newWindow "$before")
  shot "$name-3-save-dialog"
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 40 "$save_as"
  xdotool key --clearmodifiers Return
  for _ in $(seq 60); do [ -s "$out/$name/saved.cig" ] && break; sleep 0.5; done
  [ -s "$out/$name/saved.cig" ] || fail "$name: Save As wrote no file"
  shot "$name-4-saved"
  # View menu (the third): its four views in their order, then back to the first. After saving: the
  # puff-by-puff view runs the analysis, whose data veltrano-cli writes into no cigarette file.
  local view
  for view in 2 3 4 1; do
    local steps=()
    for _ in $(seq "$view"); do steps+=(Down); done
    keys "$main" alt Right Right "${steps[@]}" Return
    shot "$name-view-$view"
  done

  keys "$main" alt+x
  for _ in $(seq 60); do kill -0 "$program" 2>/dev/null || break; sleep 0.5; done
  kill -0 "$program" 2>/dev/null && fail "$name: the program did not end on Exit"
  program=""
}

# The designs to open, and what saving them after OK must give: veltrano-cli.exe writes the start-up
# designs as a cigarette file, recalculates it (as opening it and OK do) and writes that back.
say "veltrano-cli.exe: the start-up designs, and what saving them must give"
models=$(windowsPath "$PWD/data/models.dat")
cli() { wine "$windows_bin/veltrano-cli.exe" "$@" --models "$models"; }
mkdir -p "$out/cli"
(
  cd "$out/cli"
  cli build "$(windowsPath "$OLDPWD/data/startup-designs.json")" startup.cig
  cli evaluate startup.cig > recalculated.json
  cli build recalculated.json saved.cig
)
wineserver --wait

drive windows "$(windowsPath "$out/windows/saved.cig")" \
  wine "$windows_bin/veltrano.exe" "$(windowsPath "$out/cli/startup.cig")"
wineserver --wait

# The start-up view draws its curves and boxes in the palette's colours.
for colour in "0 158 224" "151 190 13" "0 120 44" "0 48 120" "240 240 240"; do
  count=$(colourCount "$out/shots/windows-1-startup.png" $colour)
  [ "$count" -ge 200 ] || fail "the start-up screenshot has only $count pixels of rgb($colour)"
done
say "the start-up view shows the palette's colours"

drive linux "$out/linux/saved.cig" env XDG_STATE_HOME="$out/linux/state" XDG_CONFIG_HOME="$out/linux/config" \
  XDG_DATA_HOME="$out/linux/data" QT_QPA_PLATFORM=xcb "$linux_bin/veltrano" "$out/cli/startup.cig"

cmp "$out/cli/saved.cig" "$out/windows/saved.cig" \
  || fail "the program's saved file differs from what veltrano-cli.exe writes"
say "the program's saved file is byte for byte what veltrano-cli.exe writes"
python3 tools/compare-evaluations.py --tolerance 1e-4 --cigarette-files "$out/linux/saved.cig" \
  "$out/windows/saved.cig"
say "the desktop program under Wine passed in ${SECONDS} s; screenshots in $out/shots"
