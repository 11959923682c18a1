#!/usr/bin/env bash
# Proves that the two commands of the README work on a new Debian 12 machine
# that has nothing but git: builds such a machine with debootstrap into a
# folder, clones the repository into it and runs, inside it through chroot,
#
#   run   bash scripts/run.sh under xvfb-run: installs, builds and starts the
#         window; the window must still be up 20 seconds later (timeout's 124);
#   test  bash scripts/test.sh: every test, as CI runs it.
#
# Run by hand, as root (it mounts /proc, /sys and /dev into the root), on a
# Debian machine; it is not part of the tests. It takes long: the
# test step builds Naadwerk three times over (plain, sanitized, fuzzers).
#
#   scripts/check-bare-debian.sh [--root DIR] [--reuse] [--steps LIST] [--package] [REPO]
#
#   REPO         the git repository to clone (default: this one); its checked-out
#                commit is what is tested, not changes that are not committed;
#   --root DIR   where the Debian root goes (default /var/tmp/naadwerk-bare);
#                an earlier root there is removed first,
#   --reuse      unless this is given: then an existing root is used as it is;
#   --steps LIST comma-separated, in this order (default root,clone,run,test):
#                root     debootstrap bookworm, with its updates and security
#                         archives as on an installed system;
#                clone    install git (the only package), clone REPO into
#                         /root/naadwerk;
#                run      the run command, as above; xvfb and xauth are
#                         installed first, for xvfb-run itself;
#                test     the test command;
#                browser  a shorter check instead of test: what scripts/test.sh
#                         installs, then only the browser test (needs run first);
#                package  scripts/package.sh: the Debian package, built in the
#                         root and checked by lintian; it is copied to LOGS;
#                install  a second bare root, ROOT-installed, that gets only the
#                         package, by `apt install ./naadwerk_*.deb`: then
#                         naadwerk-cli --version, a glue of the example
#                         interview, no library missing, and the window with
#                         the example opened under xvfb-run (installed after
#                         the checks above, so it hides no missing dependency),
#                         up 20 seconds later;
#   --package    the package's check: the steps root,clone,package,install.
#
# Environment: MIRROR (debootstrap's mirror, default its own), FUZZ_SECONDS
# (passed to the test command), LOGS (default ROOT.logs: one log per step).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
root=/var/tmp/naadwerk-bare
reuse=0
steps=root,clone,run,test
repo=$here
while [ $# -gt 0 ]; do
  case $1 in
    --root) root=$2; shift 2 ;;
    --reuse) reuse=1; shift ;;
    --steps) steps=$2; shift 2 ;;
    --package) steps=root,clone,package,install; shift ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) repo=$(cd "$1" && pwd); shift ;;
  esac
done
logs=${LOGS:-$root.logs}

if [ "$(id -u)" -ne 0 ]; then
  echo "run this as root: it calls debootstrap, mount and chroot" >&2
  exit 1
fi
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "note: $repo has changes that are not committed; the root gets its commit $(git -C "$repo" rev-parse --short HEAD) only"
fi

mounted=()
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
}
trap unmount_all EXIT

mount_root() {
  mount -t proc proc "$root/proc"; mounted+=("$root/proc")
  mount -t sysfs sysfs "$root/sys"; mounted+=("$root/sys")
  mount --bind /dev "$root/dev"; mounted+=("$root/dev")
  mount --bind /dev/pts "$root/dev/pts"; mounted+=("$root/dev/pts")
  mount --bind /dev/shm "$root/dev/shm"; mounted+=("$root/dev/shm")
  mkdir -p "$root/mnt/source"
  mount --bind "$repo" "$root/mnt/source"; mounted+=("$root/mnt/source")
  mount -o remount,bind,ro "$root/mnt/source"
  # The root goes out through this machine's network: its name servers, and
  # the certificate authorities added here by hand (a proxy that inspects TLS
  # signs with one of those), as an installed machine there would have them.
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  # The files go in even before the root has ca-certificates: installing that
  # package later (git and npm pull it in) takes them up.
  if compgen -G '/usr/local/share/ca-certificates/*' >/dev/null; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp -r /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
    if [ -x "$root/usr/sbin/update-ca-certificates" ]; then
      in_root 'update-ca-certificates >/dev/null 2>&1'
    fi
  fi
}

# A command inside the root, with the environment of a fresh login as root.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    CI=true ${FUZZ_SECONDS:+FUZZ_SECONDS=$FUZZ_SECONDS} \
    /bin/bash -c "$1"
}

mkdir -p "$logs"
summary=()
# step NAME COMMAND...: runs the command with its output on the terminal and
# in LOGS/NAME.log, and notes how long it took and how it ended.
step() {
  local name=$1 start status
  shift
  echo "== $name"
  start=$(date +%s)
  set +e
  "$@" 2>&1 | tee "$logs/$name.log"
  status=${PIPESTATUS[0]}
  set -e
  summary+=("$(printf '%-8s %5d s  exit %d' "$name" $(($(date +%s) - start)) "$status")")
  echo "== $name: exit $status after $(($(date +%s) - start)) s"
  return "$status"
}

make_root() {
  unmount_all
  if [ -d "$root" ]; then
    # Nothing may still be mounted below the old root before it is removed.
    if grep -q " $root/" /proc/mounts; then
      echo "$root still has mounts below it; unmount them first" >&2
      return 1
    fi
    rm -rf "$root"
  fi
  if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
  fi
  debootstrap bookworm "$root" ${MIRROR:+"$MIRROR"}
  # An installed Debian 12 also gets its updates and security fixes, from
  # the same mirror.
  local mirror
  mirror=$(awk '$1 == "deb" { print $2; exit }' "$root/etc/apt/sources.list")
  mirror=${mirror%/}
  cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
}

clone() {
  in_root 'export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq git
    rm -rf /root/naadwerk
    git clone --no-hardlinks /mnt/source /root/naadwerk
    git -C /root/naadwerk log -1 --format="cloned %h %s"'
}

# The first start of run.sh installs and builds, which takes far longer than
# 20 seconds: it runs until the window is up (run.sh then is the window, by
# exec) and has stayed up for 10 seconds, and is closed then. The second start
# is the command as a person types it, with nothing left to install or build.
run_window() {
  in_root 'set -e
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq --no-install-recommends xvfb xauth
    cd /root/naadwerk
    xvfb-run -a bash -c '\''
      bash scripts/run.sh & pid=$!
      window=$PWD/build/src/app/naadwerk
      while kill -0 $pid 2>/dev/null; do
        if [ "$(readlink /proc/$pid/exe)" = "$window" ]; then
          sleep 10
          if kill -0 $pid 2>/dev/null; then
            echo "the window is up"; kill $pid; wait $pid || true; exit 0
          fi
          break
        fi
        sleep 2
      done
      wait $pid; status=$?
      echo "run.sh ended with $status before its window was up for 10 s"; exit 1'\''
    status=0
    xvfb-run -a timeout 20 bash scripts/run.sh || status=$?
    echo "xvfb-run -a timeout 20 bash scripts/run.sh: exit $status (124: the window ran until the timeout)"
    [ "$status" -eq 124 ]'
}

build_package() {
  in_root 'set -e
    cd /root/naadwerk
    bash scripts/package.sh build-package'
  rm -f "$logs"/naadwerk_*.deb
  cp "$root"/root/naadwerk/build-package/naadwerk_*.deb "$logs/"
}

# The package on a root of its own: only what it depends on is installed.
install_package() {
  local root=$root-installed deb
  deb=$(ls "$logs"/naadwerk_*.deb)
  make_root
  mount_root
  cp "$deb" "$root/root/"
  in_root 'set -e
    export DEBIAN_FRONTEND=noninteractive
    cd /root
    apt-get update -qq
    apt install -y ./naadwerk_*.deb
    naadwerk-cli --version
    naadwerk --version
    if ldd /usr/bin/naadwerk /usr/bin/naadwerk-cli | grep "not found"; then
      echo "a library is missing"; exit 1
    fi
    mkdir -p glued
    cp /mnt/source/examples/interview_* .
    naadwerk-cli glue --ctm1 interview_1.spk --text1 interview_1.txt --wav1 interview_1.wav \
      --ctm2 interview_2.spk --text2 interview_2.txt --wav2 interview_2.wav --joined glued/interview.wav
    ls -l glued
    for made in interview.wav interview.srt interview.spk interview.txt interview.html; do
      [ -s glued/$made ] || { echo "glue made no $made"; exit 1; }
    done
    apt-get install -y -qq --no-install-recommends xvfb xauth
    status=0
    xvfb-run -a timeout 20 naadwerk interview_1.spk interview_2.spk interview_1.wav interview_2.wav || status=$?
    echo "xvfb-run -a timeout 20 naadwerk FILES: exit $status (124: the window ran until the timeout)"
    [ "$status" -eq 124 ]'
}

run_tests() {
  in_root 'cd /root/naadwerk && node --version 2>/dev/null; bash scripts/test.sh'
}

browser_only() {
  in_root 'set -e
    cd /root/naadwerk
    bash scripts/install-deps.sh test
    echo "node $(node --version), npm $(npm --version), $(chromium --version 2>/dev/null)"
    ctest --test-dir build -R browser --output-on-failure'
}

status=0
if [[ ,$steps, == *,root,* ]]; then
  if [ "$reuse" -eq 1 ] && [ -f "$root/etc/debian_version" ]; then
    echo "== root: using $root as it is"
  else
    step root make_root || status=$?
  fi
fi
if [ "$status" -eq 0 ]; then
  mount_root
  for s in clone run test browser package install; do
    [[ ,$steps, == *,$s,* ]] || continue
    case $s in
      clone) step clone clone || status=$? ;;
      run) step run run_window || status=$? ;;
      test) step test run_tests || status=$? ;;
      browser) step browser browser_only || status=$? ;;
      package) step package build_package || status=$? ;;
      install) step install install_package || status=$? ;;
    esac
    [ "$status" -eq 0 ] || break
  done
fi
unmount_all

echo
echo "Debian root: $root, logs: $logs"
printf '  %s\n' "${summary[@]}"
if [ "$status" -eq 0 ]; then echo "PASS"; else echo "FAIL (exit $status)"; fi
exit "$status"
