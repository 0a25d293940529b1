#!/bin/bash
# Kills the real editor with SIGKILL while it saves a 100 000-node document,
# then opens the file the way the editor does (`vetra --dump` puts an
# unfinished save back first) and sorts it: the old document, the new one,
# or unreadable. Prints the figures; not a test.
#
#   bench/kill_during_save.sh [BUILD_DIR] [RANDOM_KILLS] [WRITE_STRIDE]
#
# RANDOM_KILLS kills land at random moments after the save's journal appears;
# then one kill per WRITE_STRIDE-th pwrite (and at each fsync/fdatasync) of the
# session, placed with strace's fault injection. Needs strace.
set -u
build=${1:-build/release}
random_kills=${2:-30}
stride=${3:-25}
vetra="$build/app/vetra"
work=$(mktemp -d /tmp/vetra-kill-XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" TMPDIR="$work"
export XDG_RUNTIME_DIR= VETRA_TEXT_MODE=1 QT_QPA_PLATFORM=offscreen

"$build/bench/vetra_make_large" "$work/base.vt" 100000 >/dev/null
"$vetra" --dump "$work/base.vt" >"$work/old.txt"
printf 'select r\nkey Ins\ntype killed save\nkey Return\nmenu N_Save\n' >"$work/save.txt"
printf 'select r\nkey Ins\ntype killed save\nkey Return\nmenu N_Save\nwait 600000\n' \
    >"$work/save_wait.txt"
cp "$work/base.vt" "$work/doc.vt"
start=$(date +%s%N)
"$vetra" --run "$work/save.txt" "$work/doc.vt" >/dev/null 2>&1
echo "one scripted open, edit and save: $(( ($(date +%s%N) - start) / 1000000 )) ms"
"$vetra" --dump "$work/doc.vt" >"$work/new.txt"
cmp -s "$work/old.txt" "$work/new.txt" && { echo "the save changed nothing"; exit 1; }

old=0 new=0 bad=0 kills=0
classify() {
    kills=$((kills + 1))
    if ! "$vetra" --dump "$work/doc.vt" >"$work/got.txt" 2>/dev/null; then
        bad=$((bad + 1)); cp "$work/doc.vt" "$work/unreadable-$kills.vt"
    elif cmp -s "$work/got.txt" "$work/old.txt"; then old=$((old + 1))
    elif cmp -s "$work/got.txt" "$work/new.txt"; then new=$((new + 1))
    else bad=$((bad + 1)); fi
}
journal="$work/.doc.vt-journal"

# Random moments: from the journal's appearance (the save has begun) plus
# 0 to 400 ms, which covers the whole save and some time after it.
for ((i = 0; i < random_kills; i++)); do
    cp "$work/base.vt" "$work/doc.vt"
    "$vetra" --run "$work/save_wait.txt" "$work/doc.vt" >/dev/null 2>&1 &
    pid=$!
    for ((t = 0; t < 6000; t++)); do [ -e "$journal" ] && break; sleep 0.005; done
    sleep "0.$(printf '%03d' $((RANDOM % 400)))"
    kill -9 $pid; wait $pid 2>/dev/null
    classify
done
random_figures="random moments: $kills kills, old $old, new $new, unreadable $bad"

# Successive writes: strace kills the process at the Nth pwrite64, or at the
# Nth sync.
cp "$work/base.vt" "$work/doc.vt"
writes=$(strace -f -c -e trace=pwrite64 "$vetra" --run "$work/save.txt" "$work/doc.vt" 2>&1 \
    >/dev/null | awk '/pwrite64/ {print $4}')
echo "the session makes $writes pwrite64 calls"
old=0 new=0 bad=0 kills=0
for ((n = 1; n <= writes + 1; n += (n < 8 || n > writes - 8 ? 1 : stride))); do
    cp "$work/base.vt" "$work/doc.vt"
    strace -f -o /dev/null -e trace=pwrite64 -e inject=pwrite64:signal=KILL:when=$n \
        "$vetra" --run "$work/save.txt" "$work/doc.vt" >/dev/null 2>&1
    classify
done
for call in fdatasync fsync; do
    for n in 1 2 3 4 5 6; do
        cp "$work/base.vt" "$work/doc.vt"
        strace -f -o /dev/null -e trace=$call -e inject=$call:signal=KILL:when=$n \
            "$vetra" --run "$work/save.txt" "$work/doc.vt" >/dev/null 2>&1
        classify
    done
done
echo "$random_figures"
echo "successive writes and syncs: $kills kills, old $old, new $new, unreadable $bad"
