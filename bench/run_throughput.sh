#!/usr/bin/env bash
# Plain text through `zizider run` against the same command run directly in
# a pseudo-terminal (under script(1), which reads it as a terminal does).
# Prints the best of N runs of each in seconds, and the slowdown.
# Usage: bench/run_throughput.sh [MiB] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
mib=${1:-100}
runs=${2:-3}
text=$(mktemp)
trap 'rm -f "$text"' EXIT
{ yes 'The quick brown fox jumps over the lazy dog; 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ.' || true; } |
  head -c "$((mib * 1024 * 1024))" >"$text"

best() {
  local best=""
  for _ in $(seq "$runs"); do
    local start end took
    start=$(date +%s.%N)
    "$@" </dev/null >/dev/null 2>&1
    end=$(date +%s.%N)
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    if [ -z "$best" ] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
  done
  echo "$best"
}

direct=$(best script -qec "cat $text" /dev/null)
through=$(best build/zizider run -- cat "$text")
echo "direct in a pty:   ${direct} s"
echo "through zizider:   ${through} s"
awk -v d="$direct" -v t="$through" 'BEGIN { printf "slowdown:          %.1f %%\n", 100 * (t - d) / d }'
