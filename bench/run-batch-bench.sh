#!/usr/bin/env bash
# The benchmark of naadwerk-cli batch, in one command:
#
#   bash bench/run-batch-bench.sh [BUILD_DIR] [COUNT] [SECONDS]   (defaults: build 40 300)
#
# COUNT made-up interviews of two parts of SECONDS each
# (bench/make-batch-input.sh), then:
# 1. batch -j 1 against batch -j 2: wall times and the speed-up;
# 2. the runner's overhead: batch -j 1 against the same glues run one by
#    one (glue --parts for each interview, in a shell loop);
# 3. memory: the peak of one task of the batch (its largest child) against
#    the peak of one glue of the same interview.
# Inputs and outputs stay in BUILD_DIR/bench-batch/. Installs what it needs
# (sox, /usr/bin/time) with scripts/install-deps.sh bench.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
count=${2:-40}
seconds=${3:-300}

bash scripts/install-deps.sh bench
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target naadwerk-cli
cli=$(realpath "$build/src/app/naadwerk-cli")
dir=$(realpath -m "$build/bench-batch")
if [ ! -f "$dir/ready-$count-$seconds" ]; then
  rm -rf "$dir"
  bash bench/make-batch-input.sh "$dir/archive" "$count" "$seconds"
  touch "$dir/ready-$count-$seconds"
fi
cd "$dir"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

rm -rf one two loop
t0=$(now); "$cli" batch -j 1 --out one archive/manifest.tsv > /dev/null; t1=$(now)
"$cli" batch -j 2 --out two archive/manifest.tsv > /dev/null; t2=$(now)
while IFS=$'\t' read -r name list; do
  case $name in ''|'#'*) continue ;; esac
  mkdir -p "loop/$name"
  "$cli" glue --parts "archive/$list" --joined "loop/$name/$name.wav" > /dev/null
done < archive/manifest.tsv
t3=$(now)
one=$(elapsed "$t0" "$t1"); two=$(elapsed "$t1" "$t2"); loop=$(elapsed "$t2" "$t3")
echo "$count interviews of 2 x $seconds s on $(nproc) cores:"
echo "  batch -j 1: $one s;  batch -j 2: $two s;  speed-up $(awk -v a="$one" -v b="$two" 'BEGIN { printf "%.2f", a / b }')x"
echo "  the same glues one by one: $loop s;  batch -j 1 adds $(awk -v a="$one" -v b="$loop" 'BEGIN { printf "%+.1f", (a / b - 1) * 100 }') %"

# Peak memory: /usr/bin/time reports the largest resident set of the
# process and of its largest child, so a batch of one task shows the task.
first=$(awk -F'\t' '!/^#/ && NF { print $1; exit }' archive/manifest.tsv)
printf '%s\t%s/parts.tsv\n' "$first" "$first" > archive/one.tsv
rm -rf mem
/usr/bin/time -f '%M' "$cli" batch -j 1 --out mem archive/one.tsv > /dev/null 2> batch-mem.txt
/usr/bin/time -f '%M' "$cli" glue --parts "archive/$first/parts.tsv" --joined mem/glue.wav > /dev/null 2> glue-mem.txt
echo "  peak memory: one task of the batch $(tail -1 batch-mem.txt) kB;  one glue $(tail -1 glue-mem.txt) kB"
