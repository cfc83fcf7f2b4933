#!/usr/bin/env bash
# Runs one fuzz target for a while from its seeds:
#     fuzz/run.sh BUILD_FUZZ_DIR scenario|bitmap SECONDS
# New inputs collect in BUILD_FUZZ_DIR/corpus-TARGET; a crash leaves its
# input there as crash-* and ends the run with a failure.
set -euo pipefail
dir=$1 target=$2 seconds=${3:-60}
here=$(cd "$(dirname "$0")" && pwd)
case $target in
  scenario) seeds=("$here/corpus/scenario" "$here/../scenarios"); extra=(-dict="$here/scenario.dict") ;;
  bitmap)   seeds=("$here/../resources"); extra=(-max_len=400000) ;;
  *) echo "run.sh: unknown target '$target'; expected scenario or bitmap" >&2; exit 2 ;;
esac
work="$dir/corpus-$target"
mkdir -p "$work"
existing=()
for s in "${seeds[@]}"; do [[ -d $s ]] && existing+=("$s"); done
exec "$dir/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix="$dir/crash-$target-" -print_final_stats=1 "${extra[@]}" "$work" "${existing[@]}"
