#!/bin/sh
# Installs what the program needs, builds it and starts it.
set -e
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
# On first use there is no phone yet: make the demo phone, so there is one to copy to.
devices="${KELVRA_DEVICES_DIR:-${KELVRA_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/kelvra}/devices}"
if [ -z "$(ls -A "$devices" 2>/dev/null)" ]; then
    build/bin/tamselctl demo-phone || echo "run.sh: no demo phone; start anyway" >&2
fi
exec build/bin/tamsel "$@"
