#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it.
# Arguments are passed to vetra (for example a document to open).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/tools/install_packages.sh"
cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVETRA_TESTS=OFF >/dev/null
cmake --build "$top/build/release"
exec "$top/build/release/app/vetra" "$@"
