#!/usr/bin/env bash
# Solves the same Microsoft-numbered FreeCell boards with our solver and with Freecell Solver, and prints both times.
#
# Usage: scripts/freecell-compare.sh --cli PATH [--from N] [--to M] [--budget-ms T]
#
# The boards come from Debian's freecell-solver-bin (make-microsoft-freecell-board N) and are
# solved in one run of "cardwise-cli solve --freecell-board FOLDER", so our per-game tables are
# built once, as Freecell Solver builds its own once for the range
# ("freecell-solver-range-parallel-solve N M 1 -l as"). Our figure per board is the processor
# time the command reports for it (search and the replay of the line); the processor time of
# the whole run divided by the boards is printed beside it. Freecell Solver's figure is the
# processor time of its one process over the range, divided by the number of boards. Processor
# times keep the figures fair on a busy machine.
set -euo pipefail

cli=""
from=1
to=1000
budget=10000

while [ $# -gt 0 ]; do
    case "$1" in
        --cli) cli="$2"; shift 2 ;;
        --from) from="$2"; shift 2 ;;
        --to) to="$2"; shift 2 ;;
        --budget-ms) budget="$2"; shift 2 ;;
        -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
        *) echo "freecell-compare.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
case "$from$to$budget" in *[!0-9]*) echo "freecell-compare.sh: --from, --to and --budget-ms take numbers" >&2; exit 2 ;; esac
if [ -z "$cli" ] || [ ! -x "$cli" ]; then
    echo "freecell-compare.sh: --cli must name the cardwise-cli program" >&2
    exit 2
fi
if ! command -v make-microsoft-freecell-board >/dev/null || ! command -v freecell-solver-range-parallel-solve >/dev/null; then
    echo "freecell-compare.sh: Freecell Solver is not installed (Debian package freecell-solver-bin); nothing compared." >&2
    exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir "$work/boards"
for ((n = from; n <= to; n++)); do
    make-microsoft-freecell-board "$n" > "$work/boards/$(printf '%08d' "$n")"
done

count=$((to - from + 1))
TIMEFORMAT='%U %S'
ourCpu=$( { time "$cli" solve --freecell-board "$work/boards" --budget-ms "$budget" > "$work/ours" 2>&1 || true; } 2>&1 )
solved=$(grep -c '^Verdict: Winnable' "$work/ours" || true)
ours=$(sed -n 's/^Processor time: \([0-9.]*\) ms$/\1/p' "$work/ours" | sort -n |
    awk '{t[NR] = $1; s += $1} END {if (NR) printf "mean %.3f ms, median %.3f ms", s / NR, t[int((NR + 1) / 2)]}')
ourRun=$(awk -v c="$count" '{printf "%.3f", 1000 * ($1 + $2) / c}' <<< "$ourCpu")
echo "cardwise-cli:  boards $from-$to: $solved of $count solved; processor time per board $ours; whole run (one process) mean $ourRun ms"

cpu=$( { time freecell-solver-range-parallel-solve "$from" "$to" 1 -l as > "$work/fcs" 2>&1; } 2>&1 )
# Its own clock: from "Started at T0" to the last "Reached Board No. M at T1".
own=$(awk '/^Started at/ {t0 = $3} /^Reached Board No/ {t1 = $6} END {if (t0 && t1) printf "%.3f", 1000 * (t1 - t0)}' "$work/fcs")
cpuMs=$(awk -v c="$count" '{printf "%.3f", 1000 * ($1 + $2) / c}' <<< "$cpu")
echo "Freecell Solver (-l as): boards $from-$to: processor time per board mean $cpuMs ms (whole run, one process); its own clock $own ms in all"
