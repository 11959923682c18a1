#!/usr/bin/env bash
# What a screen reader finds in Naadwerk's window: starts a private session
# bus with its own accessibility bus (at-spi2-core), the window on a virtual
# X display (Qt's offscreen platform has no AT-SPI bridge), reads the
# window's accessible tree through AT-SPI (read-tree.py) and checks the
# names, descriptions (tooltips), states and keys of what the window shows a
# newcomer. usage: run-atspi-test.sh NAADWERK
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
  XDG_CONFIG_HOME="$1/config" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$2" &
  window=$!
  status=0
  python3 "$3/read-tree.py" Naadwerk > "$1/tree.txt" || status=$?
  kill "$window" "$launcher" 2>/dev/null || true
  wait 2>/dev/null || true
  exit $status
' atspi "$work" "$naadwerk" "$here"

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

expect "push button" "Glue" "Open both recordings before Glue."
expect "push button" "Save" "Nothing to save yet: run Glue first."
# Disabled: neither enabled nor sensitive.
expect_line "^\s*push button\tGlue\t[^\t]*\t[^\t]*\t(?![^\t]*(enabled|sensitive))" "Glue not enabled"
expect "slider" "Position in the recording" ""
expect "label" "Open the word file, text and recording of part 1 (Open menu), or drop them here" ""
expect "label" "No recording opened for part 1." ""
for menu in Open Play Help; do
  expect_line "^\s*menu( item)?\t$menu\t" "the menu $menu"
done
# The menus and the buttons carry their letters.
expect_line "^\s*menu( item)?\tPlay\t[^\t]*\t[^\t]*[Pp]" "Alt+P on Play"
expect_line "^\s*push button\tGlue\t[^\t]*\t[^\t]*[Gg]" "Alt+G on Glue"

if [ $failed -ne 0 ]; then
  echo "--- the accessible tree:"
  cat "$tree"
  exit 1
fi
echo "the accessible tree holds every name, description and key checked"
