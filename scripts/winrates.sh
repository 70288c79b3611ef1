#!/usr/bin/env bash
# Reruns the solver's win rates and writes winrate.won / winrate.sample into the catalog source.
#
# Usage: scripts/winrates.sh --cli PATH [--deals K] [--seed S] [--max-states N | --budget-ms T]
#                            [--threads 1|2] [--max-unknown P] [--data DIR] [ID...]
#
# For every game of data/games/*.games (or only the ids given) it runs
#   cardwise-cli winrate --game ID --deals K --seed S --max-states N --threads 1
# (13-digit game numbers drawn from seed S, default 27; each deal budgeted by positions, so the
# figures repeat on any machine; --budget-ms T budgets by wall-clock time instead) and sets, in
# that game's block, "winrate.won = X" (deals proven winnable) and "winrate.sample = K" (deals
# tried). Deals the solver could not settle within the budget count
# in the sample but not as won, so the figure is a lower bound; when more than P percent of the
# deals (default 25) stay unsettled both keys are set to 0 and no figure is shown. Only those
# two keys are touched; each file is rewritten whole through a temporary file in the same folder.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli=""
deals=200
seed=27
max_states=400000
budget=0
threads=1
max_unknown=25
data="$here/data/games"
ids=()

while [ $# -gt 0 ]; do
    case "$1" in
        --cli) cli="$2"; shift 2 ;;
        --deals) deals="$2"; shift 2 ;;
        --budget-ms) budget="$2"; max_states=0; shift 2 ;;
        --max-states) max_states="$2"; shift 2 ;;
        --seed) seed="$2"; shift 2 ;;
        --threads) threads="$2"; shift 2 ;;
        --data) data="$2"; shift 2 ;;
        --max-unknown) max_unknown="$2"; shift 2 ;;
        -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
        -*) echo "winrates.sh: unknown option $1" >&2; exit 2 ;;
        *) ids+=("$1"); shift ;;
    esac
done

if [ -z "$cli" ] || [ ! -x "$cli" ]; then
    echo "winrates.sh: give the cardwise-cli executable with --cli PATH" >&2
    exit 2
fi
case "$deals$budget$max_unknown$max_states$seed" in
    *[!0-9]*) echo "winrates.sh: --deals, --seed, --max-states, --budget-ms and --max-unknown take numbers" >&2; exit 2 ;;
esac
case "$threads" in
    1|2) ;;
    *) echo "winrates.sh: --threads takes 1 or 2" >&2; exit 2 ;;
esac

# Sets key = value in the block of game id in file (after its "id = N" line), replacing an
# existing line of that key in the block.
set_keys() {
    local file="$1" id="$2" won="$3" sample="$4"
    local tmp
    tmp="$(mktemp "$(dirname "$file")/.winrates.XXXXXX")"
    awk -v id="$id" -v won="$won" -v sample="$sample" '
        # Blank lines are held back so that the keys go right after the last line of the block.
        function flush() {
            if (inblock && !done) {
                print "  winrate.won = " won
                print "  winrate.sample = " sample
                done = 1
            }
        }
        function release() { printf "%s", held; held = "" }
        {
            line = $0
            sub(/\r$/, "", line)
            if (line ~ /^(game|template|defaults)([ \t]|$)/) { flush(); inblock = 0 }
            if (inblock && line ~ /^[ \t]*winrate\.(won|sample)[ \t]*=/) next
            if (inblock && !done && line ~ /^[ \t]*(rules|rules\.more):[ \t]*$/) flush()
            if (line ~ /^[ \t]*$/) { held = held $0 "\n"; next }
            release()
            print
            if (line ~ "^[ \t]*id[ \t]*=[ \t]*" id "[ \t]*(#.*)?$") { inblock = 1; done = 0 }
        }
        END { flush(); release() }
    ' "$file" > "$tmp"
    mv "$tmp" "$file"
}

all_ids() {
    grep -h -E '^[[:space:]]*id[[:space:]]*=[[:space:]]*[0-9]+' "$data"/*.games |
        sed -E 's/^[[:space:]]*id[[:space:]]*=[[:space:]]*([0-9]+).*/\1/'
}

if [ ${#ids[@]} -eq 0 ]; then
    mapfile -t ids < <(all_ids)
fi

for id in "${ids[@]}"; do
    file="$(grep -l -E "^[[:space:]]*id[[:space:]]*=[[:space:]]*$id([[:space:]]|#|$)" "$data"/*.games | head -n 1 || true)"
    if [ -z "$file" ]; then
        echo "winrates.sh: game $id is not in $data" >&2
        continue
    fi
    if ! out="$("$cli" winrate --game "$id" --deals "$deals" --seed "$seed" --max-states "$max_states" \
        --budget-ms "$budget" --threads "$threads")"; then
        echo "winrates.sh: game $id: winrate failed" >&2
        continue
    fi
    first="$(printf '%s\n' "$out" | head -n 1)"
    won="${first%% in *}"
    case "$won" in
        ''|*[!0-9]*) echo "winrates.sh: game $id: unexpected output: $first" >&2; continue ;;
    esac
    unknown="$(printf '%s\n' "$out" | sed -n 2p | sed -n -E 's/.*unknown: ([0-9]+).*/\1/p')"
    case "$unknown" in
        ''|*[!0-9]*) echo "winrates.sh: game $id: unexpected output: $(printf '%s\n' "$out" | sed -n 2p)" >&2; continue ;;
    esac
    # Undecided deals count as not won, so the figure is a lower bound. When too many deals
    # stay undecided that bound says more about the solver than about the game (a "0 in 25"
    # for a game most deals of which can be won): no figure is shown then.
    sample="$deals"
    if [ $((unknown * 100)) -gt $((deals * max_unknown)) ]; then
        won=0
        sample=0
    fi
    set_keys "$file" "$id" "$won" "$sample"
    echo "$id: $(printf '%s\n' "$out" | sed -n 2p) -> winrate.won = $won, winrate.sample = $sample ($(basename "$file"))"
done
