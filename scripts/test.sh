#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite; the Debian package, made from the same
# build and checked unpacked (scripts/package.sh, scripts/check-package.sh); the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer and the serial tests under ThreadSanitizer
# (scripts/sanitize.sh); and each fuzz target for a short time (scripts/fuzz.sh, 20 s each, or
# $TALVEX_FUZZ_SECONDS) from a fixed seed ($TALVEX_FUZZ_SEED, default 1). `scripts/test.sh --quick`
# runs the suite only.
# The long downloads labelled "soak" are left out; run them with ctest -L soak.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
if [ "${1:-}" = "--quick" ]; then
    quick=1
fi
bash scripts/install-deps.sh
bash scripts/build.sh
(cd "${TALVEX_BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -LE soak)
if [ "$quick" -eq 1 ]; then
    exit 0
fi
bash scripts/package.sh
bash scripts/check-package.sh
bash scripts/sanitize.sh all
TALVEX_FUZZ_SEED=${TALVEX_FUZZ_SEED:-1} bash scripts/fuzz.sh "${TALVEX_FUZZ_SECONDS:-20}"
