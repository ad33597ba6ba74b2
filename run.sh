#!/bin/sh
# Installs what the program needs, builds it and starts it.
set -e
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec build/bin/tamsel "$@"
