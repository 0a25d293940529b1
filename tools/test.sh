#!/usr/bin/env bash
# Installs what is missing, builds the test build (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test through CTest.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/tools/install_packages.sh"
cmake -S "$top" -B "$top/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVETRA_SANITIZE=ON -DVETRA_WERROR=ON >/dev/null
cmake --build "$top/build/test"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$top/build/test" --output-on-failure -j "$(nproc)"
