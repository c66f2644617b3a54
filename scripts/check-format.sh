#!/usr/bin/env bash
# Lists the C++ files that clang-format (with .clang-format) would change, and fails when there are any.
# Usage: scripts/check-format.sh [file ...]   (default: every tracked .cpp and .h file)
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null 2>&1; then
    echo "check-format: $formatter is not installed (scripts/install-deps.sh installs it)" >&2
    exit 2
fi
if [ "$#" -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
unformatted=0
for file in "${files[@]}"; do
    if ! "$formatter" --style=file "$file" | cmp -s - "$file"; then
        echo "$file"
        unformatted=$((unformatted + 1))
    fi
done
if [ "$unformatted" -gt 0 ]; then
    echo "check-format: $unformatted file(s) differ from .clang-format; 'cmake --build build --target format' formats them" >&2
    exit 1
fi
