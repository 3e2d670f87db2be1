#!/usr/bin/env bash
# What running each file's decoding and encoding in a worker process costs: converts the sample camera files to
# jpg (defaults, and --raw-load-as=24) with workers (the shipped way) and in-process (LUMIVANE_IN_PROCESS=1, a switch
# for benchmarks and tests only), alternating, and prints the best wall time and the best processor time (user +
# system, workers included) of each, and isolated over in-process (aim: at most 1.05). On a busy machine the wall
# times mostly measure waiting for a processor; the processor times are the steadier measure.
# Runs as an unprivileged user when started as root and setpriv is there, so that the single-instance lock of a
# program that someone else runs as root does not stop it.
# Usage: bench/isolation_bench.sh [samples-folder] [rounds] (defaults: ../shared/samples/camera, 5); needs build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${BUILD_DIR:-build}")
samples=$(realpath "${1:-../shared/samples/camera}")
rounds=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$build/lumivanecmd" ] || { echo "build first: scripts/build.sh"; exit 2; }
as_user=()
if [ "$(id -u)" = 0 ] && [ -x /usr/bin/setpriv ]; then
  as_user=(/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chmod 755 "$work"
fi

mkdir -p "$work/in"
find "$samples" -maxdepth 1 -type f -exec cp {} "$work/in/" \;
chmod -R a+rX "$work/in"
count=$(find "$work/in" -type f | wc -l)
[ "$count" -gt 0 ] || { echo "no sample files in $samples"; exit 2; }

# measure <in-process 0|1> <options...>: prints "wall-seconds processor-seconds" of one conversion of the samples.
measure() {
  local in_process=$1; shift
  rm -rf "$work/out"; mkdir -p "$work/out"; chmod 777 "$work/out"
  local setting=()
  [ "$in_process" = 1 ] && setting=(LUMIVANE_IN_PROCESS=1)
  local status=0
  env -u LUMIVANE_IN_PROCESS "${setting[@]}" /usr/bin/time -f "%e %U %S %x" -o "$work/time" \
    "${as_user[@]}" "$build/lumivanecmd" -q -i "$work/in/" -o "$work/out" -c jpg "$@" >/dev/null || status=$?
  read -r wall user system code < "$work/time"
  [ "$code" = 0 ] || { echo "lumivanecmd ended with $code (3: another copy runs as this user)" >&2; exit 1; }
  awk -v w="$wall" -v u="$user" -v s="$system" 'BEGIN { printf "%.3f %.3f\n", w, u + s }'
}

for variant in "default:" "raw-load-as=24:--raw-load-as=24"; do
  IFS=: read -r name option <<<"$variant"
  results=""
  for ((round = 0; round < rounds; ++round)); do
    results+="iso $(measure 0 $option)"$'\n'
    results+="own $(measure 1 $option)"$'\n'
  done
  awk -v w="$name" -v n="$count" -v r="$rounds" '
    function better(a, b) { return b == "" || a < b }
    { if (better($2, wall[$1])) wall[$1] = $2; if (better($3, cpu[$1])) cpu[$1] = $3 }
    END {
      printf "samples (%s), %d files, best of %d: isolated %.2f s wall %.2f s cpu | in-process %.2f s wall %.2f s cpu | ratio wall %.3f cpu %.3f\n",
        w, n, r, wall["iso"], cpu["iso"], wall["own"], cpu["own"], wall["iso"] / wall["own"], cpu["iso"] / cpu["own"] }' <<<"$results"
done
