#!/usr/bin/env bash
# Start-up time of the program to its shown main window with the first network, without the
# splash picture's two-second wait: the program measures itself when CORVIX_STARTUP_TIMING=1 and
# ends at once. Runs five times on the offscreen platform (or the current display with
# QT_QPA_PLATFORM set otherwise) with empty settings and library folders.
# Usage: bench/startup.sh [build folder, default build]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in 1 2 3 4 5; do
    XDG_CONFIG_HOME="$work/config" CORVIX_LIBRARY_PATH="$work/lib/" \
        QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} CORVIX_STARTUP_TIMING=1 \
        "$build/bin/velmora-corvix" 2>&1 | grep 'start-up' | sed "s/^/run $run: /"
done
