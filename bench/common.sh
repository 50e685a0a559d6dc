# Shared by the bench scripts, which source it from the repository's folder
# with their scratch folder in $work.

# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# alternate ROUNDS RUNS COMMAND...: the commands take turns (bench/alternate),
# RUNS runs of each a round; a line a round holds, for each command in turn,
# the median wall time and the mean processor time of a run in microseconds.
alternate() {
    [ -x "$work/alternate" ] || cc -O2 -o "$work/alternate" bench/alternate.c
    alternate_rounds=$1 alternate_runs=$2
    shift 2
    for alternate_round in $(seq "$alternate_rounds"); do
        "$work/alternate" "$alternate_runs" "$@" | paste -s -d ' '
    done
}

# over_rounds FILE EXPRESSION [FORMAT]: the median over the rounds (lines) of
# FILE of an awk expression of their columns, printed in FORMAT (%.4f).
over_rounds() {
    awk "{ printf \"%.4f\\n\", $2 }" "$1" | median | awk -v format="${3:-%.4f}" '{ printf format, $1 }'
}

# The median (seconds) in hyperfine's JSON export of one command, read from
# standard input.
json_median() { tr -d ' \n' | sed -n 's/.*"median":\([0-9.e+-]*\).*/\1/p'; }

# hyperfine_median_us PROGRAM: its median wall time run alone (100 runs after
# 10), in microseconds: for a program timed before and after a change to the
# machine, where there is nothing to take turns with.
hyperfine_median_us() {
    hyperfine -N --warmup 10 --runs 100 --export-json /dev/stdout "$1" 2>/dev/null |
        json_median | awk '{ printf "%.1f", $1 * 1e6 }'
}
