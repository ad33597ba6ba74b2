#!/bin/sh
# Configures and builds into build/ (ccache keeps rebuilds quick).
set -e
cd "$(dirname "$0")/.."
# Let ccache reuse objects built in another checkout of the same sources.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build --parallel "$(nproc)"
