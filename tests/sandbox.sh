#!/bin/sh
# Runs one test with its own home, settings, data, runtime and temporary folders,
# so no test sees the real user's files, another test's files or a running program.
set -u
box=$(mktemp -d "${TMPDIR:-/tmp}/tamsel-test.XXXXXX") || exit 1
trap 'rm -rf "$box"' EXIT INT TERM
mkdir -p "$box/home" "$box/config" "$box/data" "$box/cache" "$box/runtime" "$box/tmp"
chmod 700 "$box/runtime"
KELVRA_MOUNT_ROOT= KELVRA_MTP=off \
HOME="$box/home" XDG_CONFIG_HOME="$box/config" XDG_DATA_HOME="$box/data" \
XDG_CACHE_HOME="$box/cache" XDG_RUNTIME_DIR="$box/runtime" TMPDIR="$box/tmp" \
    "$@"
