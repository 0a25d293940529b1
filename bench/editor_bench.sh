#!/usr/bin/env bash
# Times the editor on a 100 000-node document through a scripted session:
# open and first paint, then select, Insert, typing and Enter, each key to a
# repainted screen. Run from a Release build directory:
#   bash bench/editor_bench.sh build/release
set -euo pipefail
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/vetra_make_large" "$work/large.vt" "${2:-100000}"
cat > "$work/script.txt" <<'SCRIPT'
select r.3
elapsed
key Ins
elapsed
type 新的节点
elapsed
key Return
elapsed
key Down
elapsed
key Ins
elapsed
key Esc
elapsed
key Ctrl+Backspace
elapsed
SCRIPT
XDG_CONFIG_HOME="$work/config" VETRA_TEXT_MODE=1 VETRA_SCRIPT_TIMING=1 \
  "$build/app/vetra" --run "$work/script.txt" "$work/large.vt"
