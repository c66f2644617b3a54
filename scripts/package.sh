#!/usr/bin/env bash
# Builds Talvex into build/ (or $TALVEX_BUILD_DIR) and makes its Debian package in dist/:
# dist/talvex_<version>_<arch>.deb. A tree that is already built is packaged as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TALVEX_BUILD_DIR:-build}
bash scripts/build.sh
# CPack's working files stay in the build tree; dist/ holds only the package.
rm -rf "$build_dir/cpack"
cpack --config "$build_dir/CPackConfig.cmake" -B "$PWD/$build_dir/cpack" >"$build_dir/cpack.log" 2>&1 ||
    { cat "$build_dir/cpack.log" >&2; exit 1; }
mkdir -p dist
rm -f dist/talvex_*.deb
mv "$build_dir"/cpack/talvex_*.deb dist/
ls dist/talvex_*.deb
