#!/bin/sh
# Runs every fuzz target of a build for SECONDS each, on a fresh corpus, and
# exits non-zero when one of them finds something. A target with a folder of
# its own name under fuzz/corpus starts from those inputs as well.
# Usage: fuzz/run_all.sh BUILD_DIR SECONDS
set -u
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$1
seconds=$2
targets=$(find "$build/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
if [ -z "$targets" ]; then
    echo "no fuzz targets in $build/fuzz" >&2
    exit 2
fi
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
failed=0
for target in $targets; do
    name=$(basename "$target")
    corpus=$(mktemp -d "/tmp/ferrovane-$name.XXXXXX")
    # A few texts of the shapes the routines are made for, to start from.
    printf ' 3 + j-4' >"$corpus/seed1"
    printf '\003 3 + j 4 .5 + j-1E-07' >"$corpus/seed2"
    printf ' 4.700e+3  ' >"$corpus/seed3"
    printf '\000\000\000\000\000\000\360\077' >"$corpus/seed4"
    printf '\011 1 + j 0 1E+155 + j-1E-160' >"$corpus/seed5"
    printf 'True\r\n 4.700e+3  \r\n  x,y\r\n2\r\n\200\260' >"$corpus/seed6"
    if [ -d "$seeds/$name" ]; then
        cp "$seeds/$name"/* "$corpus/"
    fi
    echo "== $name for $seconds s, corpus $corpus"
    if "$target" -max_total_time="$seconds" -artifact_prefix="$corpus/" \
        -print_final_stats=1 "$corpus"; then
        echo "== $name: nothing found"
    else
        echo "== $name: FINDING (see $corpus)" >&2
        failed=1
    fi
done
exit $failed
