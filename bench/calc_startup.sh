#!/usr/bin/env bash
# "ferrovane calc ID --example" for every calculator against "ferrovane
# --version": median wall time of N runs each, in milliseconds.
#   bench/calc_startup.sh [path/to/ferrovane] [runs]
set -euo pipefail
exe=${1:-./build/release/ferrovane}
runs=${2:-21}

median_ms() {
    local times=()
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}'
}

version=$(median_ms "$exe" --version)
echo "--version: $version ms"
for id in $("$exe" calc --list | awk '{print $1}'); do
    t=$(median_ms "$exe" calc "$id" --example)
    echo "calc $id --example: $t ms ($(awk -v a="$t" -v b="$version" 'BEGIN {printf "%.2f", a / b}') x)"
done
