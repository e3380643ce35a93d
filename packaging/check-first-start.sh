#!/usr/bin/env bash
# Starts an installed Ferrovane once, as a user with an empty home folder, and
# checks that its data files went into the per-user folder and that nothing
# was written beside the program, though the program's folder is writable.
#   packaging/check-first-start.sh BINDIR    (the folder that holds ferrovane)
set -euo pipefail
bin=$(realpath "$1")
fail() { echo "check-first-start: $*" >&2; exit 1; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
data=$home/.local/share/Ferrovane/Ferrovane
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    QT_QPA_PLATFORM=offscreen "$bin/ferrovane" >"$home/output" 2>&1 &
pid=$!
# The first start writes every example, the tube window's last.
for _ in $(seq 300); do
    [ -f "$data/Tubes.dat" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ -f "$data/Tubes.dat" ] || fail "no data files in $data: $(cat "$home/output")"
beside=$(cd "$bin" && ls -A | grep -vx ferrovane || true)
[ -z "$beside" ] || fail "written beside the program in $bin: $beside"
echo "check-first-start: the data files are in the user's folder, none beside the program"
