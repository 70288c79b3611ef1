#!/usr/bin/env bash
# Reruns the solver's win rates and writes winrate.won / winrate.sample into the catalog source.
#
# Usage: scripts/winrates.sh --cli PATH [--deals K] [--seed S] [--max-states N | --budget-ms T]
#                            [--threads 1|2] [--max-unknown P] [--data DIR] [--work DIR]
#                            [--chunk C] [--jobs J] [--sshlogin LIST] [ID...]
#
# For every game of data/games/*.games (or only the ids given) it solves K deals (default 200):
# 13-digit game numbers drawn from seed S (default 27), each deal budgeted by positions (default
# 400000, about 2 s here), so a deal's verdict is the same on every machine and in every split.
# The deals are cut into chunks of C (default 20), each run as
#   cardwise-cli winrate --game ID --seed S --skip FIRST --deals C --max-states N --verbose
# and every verdict is kept in a journal under the work folder (default build/winrates), one per
# seed and budget. A chunk already in the journal is not run again, so an interrupted run picks up
# where it stopped; the figures are counted from the journal, whatever split or machines ran it.
#
# With GNU parallel installed (Debian package "parallel"), --jobs J runs J chunks at once and
# --sshlogin LIST (parallel's own syntax, e.g. "4/alpha,4/beta,:") runs them on other machines
# too; each machine needs cardwise-cli at the same path with its GAMES.DAT next to it.
#
# Then it sets, in each game's block, "winrate.won = X" (deals proven winnable),
# "winrate.sample = K" (deals tried) and "winrate.undecided = U" (when some stayed open). Deals
# the solver could not settle within the budget count in the sample but not as won, so the
# figure is a lower bound; when more than P percent of the deals (default 25) stay unsettled the
# keys are set to 0 and no figure is shown. Only those keys are touched; each file is rewritten
# whole through a temporary file in the same folder.
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
work="$here/build/winrates"
chunk=20
jobs=1
sshlogin=""
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
        --work) work="$2"; shift 2 ;;
        --chunk) chunk="$2"; shift 2 ;;
        --jobs) jobs="$2"; shift 2 ;;
        --sshlogin) sshlogin="$2"; shift 2 ;;
        -h|--help) sed -n '2,28p' "$0"; exit 0 ;;
        -*) echo "winrates.sh: unknown option $1" >&2; exit 2 ;;
        *) ids+=("$1"); shift ;;
    esac
done

if [ -z "$cli" ] || [ ! -x "$cli" ]; then
    echo "winrates.sh: give the cardwise-cli executable with --cli PATH" >&2
    exit 2
fi
case "$deals$budget$max_unknown$max_states$seed$chunk$jobs" in
    *[!0-9]*) echo "winrates.sh: --deals, --seed, --max-states, --budget-ms, --max-unknown, --chunk and --jobs take numbers" >&2; exit 2 ;;
esac
if [ "$chunk" -lt 1 ] || [ "$jobs" -lt 1 ]; then
    echo "winrates.sh: --chunk and --jobs take 1 or more" >&2
    exit 2
fi
have_parallel=0
command -v parallel > /dev/null 2>&1 && have_parallel=1
if [ "$have_parallel" -eq 0 ] && { [ "$jobs" -gt 1 ] || [ -n "$sshlogin" ]; }; then
    echo "winrates.sh: --jobs and --sshlogin need GNU parallel (Debian package \"parallel\")" >&2
    exit 2
fi
case "$threads" in
    1|2) ;;
    *) echo "winrates.sh: --threads takes 1 or 2" >&2; exit 2 ;;
esac

# Sets key = value in the block of game id in file (after its "id = N" line), replacing an
# existing line of that key in the block.
set_keys() {
    local file="$1" id="$2" won="$3" sample="$4" undecided="$5"
    local tmp
    tmp="$(mktemp "$(dirname "$file")/.winrates.XXXXXX")"
    awk -v id="$id" -v won="$won" -v sample="$sample" -v undecided="$undecided" '
        # Blank lines are held back so that the keys go right after the last line of the block.
        function flush() {
            if (inblock && !done) {
                print "  winrate.won = " won
                print "  winrate.sample = " sample
                if (undecided > 0) print "  winrate.undecided = " undecided
                done = 1
            }
        }
        function release() { printf "%s", held; held = "" }
        {
            line = $0
            sub(/\r$/, "", line)
            if (line ~ /^(game|template|defaults)([ \t]|$)/) { flush(); inblock = 0 }
            if (inblock && line ~ /^[ \t]*winrate\.(won|sample|undecided)[ \t]*=/) next
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

# One journal per seed and budget: lines "ID<TAB>FIRST<TAB>COUNT<TAB>output line of the chunk". A
# chunk is complete once its summary line ("X in COUNT") is there.
journal_dir="$work/seed-$seed-states-$max_states-ms-$budget"
mkdir -p "$journal_dir"
journal="$journal_dir/journal.txt"
touch "$journal"

complete_chunks() {
    awk -F '\t' '$4 ~ /^[0-9]+ in [0-9]+$/ { print $1 "\t" $2 "\t" $3 }' "$journal"
}

# The chunks still to run, as "ID FIRST COUNT" lines.
todo="$(mktemp)"
trap 'rm -f "$todo"' EXIT
done_list="$(complete_chunks | sort -u)"
for id in "${ids[@]}"; do
    for ((first = 0; first < deals; first += chunk)); do
        count=$((deals - first < chunk ? deals - first : chunk))
        if ! grep -q -x -F "$(printf '%s\t%s\t%s' "$id" "$first" "$count")" <<< "$done_list"; then
            printf '%s %s %s\n' "$id" "$first" "$count" >> "$todo"
        fi
    done
done

run_chunk="'$cli' winrate --game {1} --skip {2} --deals {3} --seed $seed --max-states $max_states --budget-ms $budget --threads $threads --verbose"
if [ -s "$todo" ]; then
    if [ "$have_parallel" -eq 1 ]; then
        ssh_args=()
        [ -n "$sshlogin" ] && ssh_args=(--sshlogin "$sshlogin")
        # --tag puts the chunk's arguments in front of each of its lines; output is grouped per chunk.
        parallel --colsep ' ' --tag -j "$jobs" "${ssh_args[@]}" "$run_chunk" < "$todo" |
            sed -E 's/^([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+/\1\t\2\t\3\t/' >> "$journal" || true
    else
        while read -r id first count; do
            printf -v tag '%s\t%s\t%s\t' "$id" "$first" "$count"
            "$cli" winrate --game "$id" --skip "$first" --deals "$count" --seed "$seed" --max-states "$max_states" \
                --budget-ms "$budget" --threads "$threads" --verbose |
                while IFS= read -r line; do printf '%s%s\n' "$tag" "$line"; done >> "$journal" || true
        done < "$todo"
    fi
fi

# Counts the verdicts of game id from the complete chunks: "won lost unknown played".
count_verdicts() {
    awk -F '\t' -v id="$1" -v deals="$deals" '
        $1 == id && $4 ~ /^[0-9]+ in [0-9]+$/ { complete[$2 "\t" $3] = 1 }
        $1 == id { lines[NR] = $0 }
        END {
            for (n = 1; n <= NR; n++) {
                if (!(n in lines)) continue
                split(lines[n], f, "\t")
                if (!((f[2] "\t" f[3]) in complete) || f[2] + 0 >= deals) continue
                if (!match(f[4], /^[0-9]+ (Winnable|Not winnable|Unknown) /)) continue
                number = substr(f[4], 1, index(f[4], " ") - 1)
                if (number in seen) continue
                seen[number] = 1
                if (f[4] ~ /^[0-9]+ Winnable /) won++
                else if (f[4] ~ /^[0-9]+ Not winnable /) lost++
                else unknown++
                played++
            }
            printf "%d %d %d %d\n", won, lost, unknown, played
        }' "$journal"
}

for id in "${ids[@]}"; do
    file="$(grep -l -E "^[[:space:]]*id[[:space:]]*=[[:space:]]*$id([[:space:]]|#|$)" "$data"/*.games | head -n 1 || true)"
    if [ -z "$file" ]; then
        echo "winrates.sh: game $id is not in $data" >&2
        continue
    fi
    read -r won lost unknown played < <(count_verdicts "$id")
    if [ "$played" -ne "$deals" ]; then
        echo "winrates.sh: game $id: $played of $deals deals settled so far; run again to finish" >&2
        continue
    fi
    # Undecided deals count as not won, so the figure is a lower bound. When too many deals
    # stay undecided that bound says more about the solver than about the game (a "0 in 25"
    # for a game most deals of which can be won): no figure is shown then.
    shown="$won"
    sample="$deals"
    undecided="$unknown"
    if [ $((unknown * 100)) -gt $((deals * max_unknown)) ]; then
        shown=0
        sample=0
        undecided=0
    fi
    set_keys "$file" "$id" "$shown" "$sample" "$undecided"
    echo "$id: Won: $won, not winnable: $lost, unknown: $unknown -> winrate.won = $shown, winrate.sample = $sample ($(basename "$file"))"
done
