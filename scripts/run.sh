#!/usr/bin/env bash
# Installs what is missing, builds, and starts Talvex with a simulated scale on the last port entry.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec "${TALVEX_BUILD_DIR:-build}/bin/talvex" --demo "$@"
