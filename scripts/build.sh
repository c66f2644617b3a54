#!/usr/bin/env bash
# Configures and builds Talvex into build/ (or $TALVEX_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${TALVEX_BUILD_DIR:-build}
# Compiler cache hits across clones in other folders: paths are hashed relative to the tree.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$build_dir" --parallel "$(nproc)"
