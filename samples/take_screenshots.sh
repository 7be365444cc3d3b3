#!/bin/sh
# Screenshots of the sample disc's four screens for the README, taken from the real program
# under Xvfb:  samples/take_screenshots.sh [BUILD]   (BUILD defaults to build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$here/screenshots"
n=1
for name in start documents media pictures; do
    # The media screen with its first clip playing.
    clip=""
    [ "$name" = media ] && clip='clip=video\engine.avi=klip_dvigatel.htm'
    VITRINA_HOME=$home xvfb-run -a -s "-screen 0 1024x768x24" "$build/vitrina" --disc "$build/sample-disc" \
        --command "screen$n" ${clip:+--command "$clip"} --settle-ms 2500 --screenshot "$here/screenshots/$name.png"
    n=$((n + 1))
done
