#!/usr/bin/env bash
# Times typing a long caption into the caption editor, key by key, through a
# scripted session: the milliseconds per key at several caption lengths.
# Usage: bash bench/caption_typing.sh BUILD_DIR
set -euo pipefail
vetra="${1:-build/release}/app/vetra"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for length in 1000 4000 16000 32000; do
    python3 - "$length" > "$work/script.txt" <<'PY'
import sys
n = int(sys.argv[1])
last = 500
print("select r\nkey Ins")
print("type " + "x" * (n - last))
print("elapsed")
print("type " + "x" * last)
print("elapsed")
print("key Return")
PY
    out=$(cd "$work" && XDG_CONFIG_HOME="$work/config" VETRA_TEXT_MODE=1 "$vetra" --run script.txt)
    ms=$(echo "$out" | sed -n 2p | awk '{print $2}')
    echo "caption of $length characters: $(awk -v t="$ms" 'BEGIN{printf "%.2f", t/500}') ms per key (last 500 keys)"
done
