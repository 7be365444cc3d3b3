#!/bin/sh
# Builds the benchmark disc: the Russian LibreOffice help (a corpus nobody here wrote) in
# Windows-1251, packed into a store, indexed, with contents trees from its folders and the
# sample disc's skin. Not run in CI.
#
#   bench/make_benchmark_disc.sh [--documents N] [OUT]
#
# N (default 2561, the corpus once) scales the disc up to 50,000 pages by repeating the corpus
# under numbered folders. OUT defaults to build/benchmark-disc. The package is fetched with
# apt-get download into $VITRINA_BENCH_CACHE (default ~/.cache/vitrina-bench) when absent.
# The disc tool is $VITRINA_DISC_TOOL, else build/tools/vitrina-disc/vitrina-disc.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
documents=2561
if [ "${1:-}" = "--documents" ]; then documents=$2; shift 2; fi
out=${1:-$root/build/benchmark-disc}
tool=${VITRINA_DISC_TOOL:-$root/build/tools/vitrina-disc/vitrina-disc}
cache=${VITRINA_BENCH_CACHE:-$HOME/.cache/vitrina-bench}

if [ "$documents" -lt 1 ] || [ "$documents" -gt 50000 ]; then
    echo "make_benchmark_disc: --documents must be 1 to 50000" >&2; exit 2
fi
[ -x "$tool" ] || { echo "make_benchmark_disc: no disc tool at $tool (build first)" >&2; exit 2; }

corpus=$cache/help/usr/share/libreoffice/help
if [ ! -d "$corpus/ru" ]; then
    mkdir -p "$cache"
    (cd "$cache" && rm -f libreoffice-help-ru_*.deb && apt-get download libreoffice-help-ru)
    rm -rf "$cache/help"
    dpkg-deb -x "$cache"/libreoffice-help-ru_*.deb "$cache/help"
fi

source=$out.source
/usr/bin/python3 "$here/benchmark_disc.py" --corpus "$corpus" --sample "$root/samples/sample-disc" \
    --documents "$documents" "$source"
rm -rf "$out"
"$tool" build "$source" "$out"
"$tool" index "$source/documents" "$out"
echo "benchmark disc: $out ($(du -sh "$out" | cut -f1))"
