#!/bin/sh
# Start benchmark: the time from starting LectorDorvik on a 10,000-topic title
# (the intro skipped by the title's settings, its 100 ms hand-over to the
# viewer included) to the viewer's window being shown, against the same for a
# minimal Qt Widgets window (bench/start_reference, which skips the session
# bus as the reader does). The two start in turn, round by round; prints each
# round and the ratio reader / reference (median, min, max). Needs an X
# display and no network; run it as
#
#   xvfb-run -a -s "-screen 0 1280x1024x24" bench/bench_start.sh build-release [rounds]
#
# Goal: a median ratio of 1.5 or less.
set -eu

build=$(cd "${1:-build-release}" && pwd)
rounds=${2:-9}
for tool in programs/LectorDorvik bench/start_reference bench/start_watch bench/bench_title; do
    [ -x "$build/$tool" ] || { echo "bench_start: $build/$tool is missing (build it first)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/util" "$work/windows"
sample="$build/samples/title"
cp "$sample/util/paleta.bmp" "$work/util/"
cp "$sample/entrada.bmp" "$work/"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_title" --generate 10000 "$work/grande.dvk" >/dev/null
cat >"$work/Dezezi.ini" <<'INI'
[grande]
linea1=NO
linea9=Actualizaciones
linea16=www.example.org
linea17=16777215
linea18=16777215
linea19=16777215
linea21=NO
linea22=NO
linea23=SI
INI

reader() {
    (cd "$work" && LECTOR_WINDOWS_DIR="$work/windows" "$build/bench/start_watch" \
        "Dezezi Dorvik Ver 1.2" "$build/programs/LectorDorvik" grande 2>/dev/null)
}
reference() {
    "$build/bench/start_watch" "Referencia" "$build/bench/start_reference" 2>/dev/null
}

# Once each, unmeasured: files into the page cache.
reader >/dev/null
reference >/dev/null

results="$work/results"
: >"$results"
echo "round   reader ms   reference ms   ratio"
round=1
while [ "$round" -le "$rounds" ]; do
    if [ $((round % 2)) -eq 1 ]; then
        r=$(reader); q=$(reference)
    else
        q=$(reference); r=$(reader)
    fi
    ratio=$(echo "$r $q" | awk '{ printf "%.2f", $1 / $2 }')
    printf "%5d %11s %14s %7s\n" "$round" "$r" "$q" "$ratio"
    echo "$r $q $ratio" >>"$results"
    round=$((round + 1))
done

sort -n -k3 "$results" | awk '
    { x[NR] = $3 }
    END {
        m = int((NR + 1) / 2)
        printf "\nratio reader / reference: median %.2f  min %.2f  max %.2f   (goal: median <= 1.5) %s\n",
            x[m], x[1], x[NR], (x[m] <= 1.5 ? "met" : "MISSED")
    }'
# The same less the hand-over the reader must wait (its own start's share).
awk '{ print ($1 - 100) / $2 }' "$results" | sort -n | awk '
    { x[NR] = $1 }
    END {
        m = int((NR + 1) / 2)
        printf "ratio (reader - 100 ms) / reference: median %.2f  min %.2f  max %.2f\n", x[m], x[1], x[NR]
    }'
for column in 1 2; do
    sort -n -k$column "$results" | awk -v c=$column -v n="$rounds" '
        { v[NR] = $c } END { printf "%s median: %.1f ms\n", (c == 1 ? "reader   " : "reference"), v[int((n + 1) / 2)] }'
done
