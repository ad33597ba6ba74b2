#!/bin/sh
# Installs what the build needs, builds, and runs every test.
set -e
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
cd build
exec ctest --output-on-failure --timeout 600 -j "$(nproc)"
