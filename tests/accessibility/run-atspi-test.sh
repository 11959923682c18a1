#!/usr/bin/env bash
# What a screen reader finds in Naadwerk's window: starts a private session
# bus with its own accessibility bus (at-spi2-core), the window on a virtual
# X display (Qt's offscreen platform has no AT-SPI bridge) with the example
# interview's two recordings opened, reads the window's accessible tree
# through AT-SPI (read-tree.py) and checks the names, descriptions
# (tooltips), states and keys of what the window shows a newcomer.
# usage: run-atspi-test.sh NAADWERK
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
naadwerk=$1
for tool in dbus-run-session xvfb-run /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/install-deps.sh test)"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Inside the private session bus: the accessibility bus, the window, the reader.
dbus-run-session -- bash -c '
  set -euo pipefail
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  # A process group of its own: the window and its X server end together.
  XDG_CONFIG_HOME="$1/config" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    setsid xvfb-run -a -s "-screen 0 1280x1024x24" "$2" "$4/interview_1.wav" "$4/interview_2.wav" \
    > "$1/window.log" 2>&1 &
  window=$!
  status=0
  # python3-dbus belongs to the system Python.
  /usr/bin/python3 "$3/read-tree.py" Naadwerk > "$1/tree.txt" || status=$?
  kill -- -"$window" 2>/dev/null || true
  kill "$launcher" 2>/dev/null || true
  wait 2>/dev/null || true
  exit $status
' atspi "$work" "$naadwerk" "$here" "$here/../../examples"

tree=$work/tree.txt
failed=0
# expect ROLE NAME DESCRIPTION: an object with that role, name and description.
expect() {
  if ! grep -qP "^\s*\Q$1\E\t\Q$2\E\t\Q$3\E\t" "$tree"; then
    echo "not found: $1 \"$2\" described as \"$3\""
    failed=1
  fi
}
# expect_line PATTERN WHY: a line of the tree matches the Perl pattern.
expect_line() {
  if ! grep -qP "$1" "$tree"; then
    echo "not found: $2"
    failed=1
  fi
}

# Both recordings open: Glue can run and says what it does; Save cannot yet,
# says why, and is neither enabled nor sensitive.
expect "push button" "Glue" "Join the parts' recordings, words and texts into one (Ctrl+G)"
expect_line "^\s*push button\tGlue\t[^\t]*\tAlt\+G\t[^\t]*enabled" "Glue enabled, with Alt+G"
expect "push button" "Save" "Nothing to save yet: run Glue first."
expect_line "^\s*push button\tSave\t[^\t]*\t[^\t]*\t(?![^\t]*(enabled|sensitive))" "Save not enabled"
expect "slider" "Position in the recording" ""
expect "label" "Open the word file, text and recording of part 1 (Open menu), or drop them here" ""
# Real menus with their letters, and Exit's key.
expect_line "^\s*menu item\tOpen\t[^\t]*\tAlt\+O\t" "the menu Open with Alt+O"
expect_line "^\s*menu item\tPlay\t[^\t]*\tAlt\+P\t" "the menu Play with Alt+P"
expect_line "^\s*menu item\tHelp\t[^\t]*\tAlt\+H\t" "the menu Help with Alt+H"
expect_line "^\s*menu item\tExit\t[^\t]*\tCtrl\+Q\t" "Exit with Ctrl+Q"
expect_line "^\s*menu item\tRecording of part 1\.\.\.\t[^\t]*\tAlt\+R\t" "Recording of part 1 with Alt+R"
# The footer says what the recording is.
expect_line "^\s*label\tRecording of part 1: .*interview_1\.wav - WAV, 16 kHz mono, 0:00:" "the recording's line"

if [ $failed -ne 0 ]; then
  echo "--- the accessible tree:"
  cat "$tree"
  exit 1
fi
echo "the accessible tree holds every name, description and key checked"
