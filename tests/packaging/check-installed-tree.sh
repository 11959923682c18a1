#!/usr/bin/env bash
# check-installed-tree.sh BUILD_DIR VERSION: installs BUILD_DIR into a
# temporary prefix and checks what a person and a desktop find there.
set -euo pipefail
build=$1 version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
share=$prefix/share

# The programs run from the prefix and say their version.
for program in naadwerk naadwerk-cli; do
  said=$("$prefix/bin/$program" --version) || fail "$program --version ended with $?"
  [ "$said" = "$program $version" ] || fail "$program --version said '$said'"
done

# An option the window does not know is a usage error, not a file to open.
status=0
QT_QPA_PLATFORM=offscreen "$prefix/bin/naadwerk" --bogus >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "naadwerk --bogus ended with $status, not 2"

# The desktop entry, the kinds of file it opens and the metadata validate.
desktop=$share/applications/nl.naadwerk.naadwerk.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=naadwerk %F' "$desktop" || fail "the desktop entry does not hand files to naadwerk"
# Not even a pedantic remark, which leaves appstreamcli's exit status at 0.
metainfo=$(appstreamcli validate --no-net --pedantic "$share/metainfo/nl.naadwerk.naadwerk.metainfo.xml") \
  && ! grep -q '^[EWIP]:' <<<"$metainfo" || fail "appstreamcli validate: $metainfo"
# A MIME database of the prefix alone knows Naadwerk's kinds by their names,
# and every kind the desktop entry opens is known to it or to the system's.
cp -r /usr/share/mime/packages/. "$share/mime/packages/"
update-mime-database "$share/mime" 2>/dev/null
for case in 'a.naadwerk application/x-naadwerk-interview' 'a.ctm text/x-ctm' 'a.spk text/x-naadwerk-spk'; do
  read -r name type <<<"$case"
  grep -q "^$type:\*\.${name#a.}\$" "$share/mime/globs" || fail "$name is not $type"
done
IFS=';' read -ra types <<<"$(sed -n 's/^MimeType=//p' "$desktop")"
for type in "${types[@]}"; do
  grep -qx "$type" "$share/mime/types" || fail "the desktop entry opens $type, which no MIME package knows"
done

# The manual pages render without a warning and name every option of every
# command, as the programs' own help lists them.
for page in naadwerk naadwerk-cli; do
  file=$share/man/man1/$page.1.gz
  [ -f "$file" ] || { fail "no manual page $page(1)"; continue; }
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=200 man --nh --nj --warnings=w -l "$file" 2>"$prefix/warnings")
  [ ! -s "$prefix/warnings" ] || fail "man -l $page: $(cat "$prefix/warnings")"
  [ "$(lexgrog "$file")" = "$file: \"$page - $(zcat "$file" | sed -n '/^\.SH NAME/{n;s/^[^ ]* \\- //;p}')\"" ] \
    || fail "lexgrog $page: $(lexgrog "$file")"
  helps=("$prefix/bin/$page --help")
  if [ "$page" = naadwerk-cli ]; then
    for command in $("$prefix/bin/$page" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]\+\) .*/\1/p'); do
      grep -q "^   $command\$" <<<"$rendered" || fail "$page(1) has no section on $command"
      helps+=("$prefix/bin/$page $command --help")
    done
  fi
  for help in "${helps[@]}"; do
    for option in $($help | grep -o -- '^  -[^ ]*\(, -[^ ]*\)*' | tr -d ','); do
      grep -q -- "^       .*$option\\b" <<<"$rendered" || fail "$page(1) does not name $option (${help#"$prefix/bin/"})"
    done
  done
done

# The icon: the drawing and each PNG size, of that size.
[ -f "$share/icons/hicolor/scalable/apps/naadwerk.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/naadwerk.png
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r width height <<<"$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')"
  [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height"
done
[ -s "$share/naadwerk/screenshots/main-window.png" ] || fail "no screenshot"
[ -f "$share/doc/naadwerk/copyright" ] || fail "no copyright file"

# The completion loads in bash and completes commands, options, their
# choices and file names.
completion=$share/bash-completion/completions/naadwerk-cli
completes() { # completes EXPECTED WORDS...: completes the last of WORDS
  local expected=$1
  shift
  local got
  got=$(cd "$prefix" && bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        compopt() { :; }; _naadwerk_cli; printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "' - "$completion" "$@")
  [ "$got" = "$expected" ] || fail "completing '$*' gave '$got', not '$expected'"
}
bash -c 'source "$1" && complete -p naadwerk-cli' - "$completion" >/dev/null || fail "the completion does not load"
completes 'glue' naadwerk-cli gl
completes '--version' naadwerk-cli --vers
completes '--channels' naadwerk-cli glue --chan
completes 'left' naadwerk-cli glue --channels le
completes 'classic standalone' naadwerk-cli batch --page ''
completes 'space' naadwerk-cli glue --separator = s
completes '--resume' naadwerk-cli batch --res
completes 'bin/naadwerk bin/naadwerk-cli' naadwerk-cli glue --wav1 bin/naad
completes 'share' naadwerk-cli batch --out sh
completes '' naadwerk-cli batch --jobs ''

[ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "the installed tree is complete"
