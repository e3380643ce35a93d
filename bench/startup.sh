#!/usr/bin/env bash
# Compares Ferrovane's start-up with an empty Qt window: median time from
# process start to the window shown, and peak memory, over N runs each.
#   bench/startup.sh BUILD_DIR [N]
set -euo pipefail
probe="$1/bench/startup_probe"
runs="${2:-15}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$probe" >/dev/null # first run writes the example files
for kind in empty ferrovane; do
    for _ in $(seq "$runs"); do "$probe" $([ $kind = empty ] && echo empty); done |
        sort -t' ' -k2 -n | awk -v n="$runs" '{t[NR]=$2; m[NR]=$4}
            END {printf "%-10s median %.1f ms, peak memory %d kB\n", $1, t[int((n+1)/2)], m[int((n+1)/2)]}'
done
