#!/usr/bin/env bash
# Proves naadwerk-cli batch --slurm on a real Slurm: a one-node cluster of
# Debian's slurm-wlm and munge, started from a configuration in a temporary
# folder, runs an array job of four tasks over a manifest of 20 made-up
# interviews; every output must equal, byte for byte, what a local
# batch -j 2 of the same manifest writes. Stops every daemon it started,
# also when it fails.
#
#   scripts/check-slurm.sh [BUILD_DIR]     (default: build)
#
# Runs as root (munged, slurmctld and slurmd are started as root); without
# root it says so and skips. Installs slurm-wlm, munge and sox when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ "$(id -u)" -ne 0 ]; then
  echo "check-slurm: skipped, it needs root to start munged, slurmctld and slurmd."
  exit 0
fi
cli=$(realpath "$build/src/app/naadwerk-cli")
[ -x "$cli" ] || { echo "check-slurm: no $cli; build first." >&2; exit 1; }

missing=()
for p in slurm-wlm munge sox; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "check-slurm: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # Debian may start the packages' own services: they use the system's
  # configuration, sockets and ports, which ours never touch.
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

tmp=$(mktemp -d /tmp/naadwerk-slurm.XXXXXX)
chmod 755 "$tmp"
pids=()
finish() {
  local code=$?
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  if [ "$code" -ne 0 ]; then
    for log in "$tmp"/*.log "$tmp"/task-*.out; do
      [ -f "$log" ] && { echo "--- $log"; tail -n 30 "$log"; }
    done
  fi
  rm -rf "$tmp"
  exit "$code"
}
trap finish EXIT
trap 'exit 1' INT TERM
fail() { echo "check-slurm: $*" >&2; exit 1; }

# waitfor SECONDS WHAT COMMAND...: runs COMMAND every half second until it succeeds.
waitfor() {
  local seconds=$1 what=$2
  shift 2
  for _ in $(seq $((seconds * 2))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  fail "$what did not happen within $seconds s"
}

# Two ports no one listens on.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 20000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
}
ctld_port=$(free_port)
slurmd_port=$(free_port)
while [ "$slurmd_port" = "$ctld_port" ]; do slurmd_port=$(free_port); done

# munge with a key of its own, its socket in the folder.
dd if=/dev/urandom of="$tmp/munge.key" bs=1024 count=1 status=none
chmod 400 "$tmp/munge.key"
munged --foreground --force --key-file="$tmp/munge.key" --socket="$tmp/munge.socket" \
  --pid-file="$tmp/munged.pid" --seed-file="$tmp/munged.seed" --log-file="$tmp/munged.log" \
  >"$tmp/munged.out" 2>&1 &
pids+=($!)
waitfor 20 "munged answering" munge --socket="$tmp/munge.socket" -n

host=$(hostname -s)
cpus=$(nproc)
# Less memory than the machine has, or slurmd marks the node invalid.
memory=$(( $(awk '/MemTotal/ { print int($2 / 1024) }' /proc/meminfo) / 2 ))
mkdir -p "$tmp/state" "$tmp/spool"
cat > "$tmp/slurm.conf" <<CONF
ClusterName=naadwerk
SlurmctldHost=$host(127.0.0.1)
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$tmp/munge.socket
StateSaveLocation=$tmp/state
SlurmdSpoolDir=$tmp/spool
SlurmctldPidFile=$tmp/slurmctld.pid
SlurmdPidFile=$tmp/slurmd.pid
SlurmctldLogFile=$tmp/slurmctld.log
SlurmdLogFile=$tmp/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=$memory State=UNKNOWN
PartitionName=check Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF=$tmp/slurm.conf
slurmctld -D -i -f "$SLURM_CONF" > "$tmp/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$SLURM_CONF" > "$tmp/slurmd.out" 2>&1 &
pids+=($!)
node_idle() { [ "$(sinfo -h -n "$host" -o %T)" = idle ]; }
waitfor 60 "the node becoming idle" node_idle

# The archive, and the array job over it: four tasks, one CPU each.
bash bench/make-batch-input.sh "$tmp/archive" 20 20 >/dev/null
mkdir -p "$tmp/slurm" "$tmp/local"
cat > "$tmp/array.sh" <<JOB
#!/bin/sh
#SBATCH --array=0-3
#SBATCH --cpus-per-task=1
#SBATCH --output=$tmp/task-%a.out
cd "$tmp/slurm"
exec "$cli" batch --slurm --out out "$tmp/archive/manifest.tsv"
JOB
timeout 300 sbatch --wait --quiet "$tmp/array.sh" || fail "the array job failed (see the tasks' output)"
for task in 0 1 2 3; do
  [ -f "$tmp/slurm/out/batch-report-$task-of-4.tsv" ] || fail "task $task of 4 left no report"
done
(cd "$tmp/slurm" && "$cli" batch --merge-reports out) || fail "merging the reports failed"
(cd "$tmp/local" && "$cli" batch -j 2 --out out "$tmp/archive/manifest.tsv" >/dev/null) || fail "the local batch failed"

# The same interviews, byte for byte; the reports differ in the seconds taken.
diff -r -x 'batch-report*' "$tmp/slurm/out" "$tmp/local/out" || fail "the array job wrote other files than the local batch"
[ "$(cut -f1-6 "$tmp/slurm/out/batch-report.tsv")" = "$(cut -f1-6 "$tmp/local/out/batch-report.tsv")" ] \
  || fail "the merged report differs from the local one"
[ "$(find "$tmp/local/out" -name '*.srt' | wc -l)" -eq 20 ] || fail "the local batch did not write 20 interviews"
echo "check-slurm: an array job of 4 tasks wrote the 20 interviews a local batch -j 2 writes, byte for byte."
