#!/usr/bin/env bash
# What two hostile requests cost a service (figures, never pass/fail), for one or more builds
# of zenri-service side by side:
#   - a gateway body whose sql field is 2.79 million numbers (8.4 MB): the time until it is
#     refused (median of 5), and /healthz answered meanwhile, with four such clients at once;
#   - a one-byte range of the page styles' 910 KB song at 50 connections, against a small file
#     of the site, in requests per second (wrk, after 2 s unmeasured).
#   bench/server/hostile.sh SERVICE_BINARY [SERVICE_BINARY...]
# ZR_BENCH_SECONDS (5) sets the length of each wrk run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${ZR_BENCH_SECONDS:-5}
[ $# -gt 0 ] || { echo "usage: bench/server/hostile.sh SERVICE_BINARY [SERVICE_BINARY...]" >&2; exit 2; }
# shellcheck source=../../tools/packages.sh
source "$root/tools/packages.sh"
zr_ensure_packages wrk curl >/dev/null

work=$(mktemp -d)
service_pid=""
cleanup() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# zc=49&sql= and 2.79 million times the code of "1".
awk 'BEGIN { printf "zc=49&sql=49"; for (i = 0; i < 2790000; i++) printf "A49" }' >"$work/numbers.body"
cat >"$work/range.lua" <<'LUA'
wrk.headers["Range"] = "bytes=0-0"
LUA

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for service in "$@"; do
    rm -f "$work"/bench.db* "$work/out"
    "$service" init --demo --db "$work/bench.db" >/dev/null
    "$service" serve --listen 127.0.0.1:0 --db "$work/bench.db" --site "$root/assets/site" \
        --signin-limit 0 --lookup-limit 0 --address-connections 1000 >"$work/out" 2>/dev/null &
    service_pid=$!
    url=""
    for _ in $(seq 100); do
        url=$(grep -m1 -o 'http://[^ ]*' "$work/out" || true)
        [ -n "$url" ] && break
        sleep 0.1
    done
    [ -n "$url" ] || { echo "$service did not start" >&2; exit 1; }
    echo "== $service"

    refuse() { curl -s -o /dev/null -w '%{time_total}\n' --data-binary @"$work/numbers.body" \
                   "$url/asp/index.asp"; }
    word=$(curl -s --data-binary @"$work/numbers.body" "$url/asp/index.asp")
    ms=$(for _ in 1 2 3 4 5; do refuse; done | median | awk '{ printf "%.1f", $1 * 1000 }')
    echo "sql of 2.79 million numbers: answered $word in $ms ms (median of 5, upload included)"
    for _ in 1 2 3 4; do (for _ in 1 2 3 4 5; do refuse >/dev/null; done) & done
    worst=0
    for _ in $(seq 20); do
        t=$(curl -s -o /dev/null -w '%{time_total}' "$url/healthz")
        worst=$(awk -v a="$worst" -v b="$t" 'BEGIN { print (b > a ? b : a) }')
    done
    wait $(jobs -p | grep -v "^$service_pid$") 2>/dev/null || true
    echo "/healthz during four such clients: worst of 20 $(awk -v w="$worst" 'BEGIN { printf "%.1f", w * 1000 }') ms"

    for target in /biaobai/media/love-song.mp3 /static/site.css; do
        script=()
        [ "$target" = /biaobai/media/love-song.mp3 ] && script=(-s "$work/range.lua")
        wrk -t2 -c50 -d2s "${script[@]}" "$url$target" >/dev/null
        rate=$(wrk -t2 -c50 -d"${seconds}s" "${script[@]}" "$url$target" |
               awk '/Requests\/sec/ { print $2 }')
        echo "GET $target${script[*]:+ (Range: bytes=0-0)}: $rate requests/s"
    done
    kill "$service_pid"; wait "$service_pid" 2>/dev/null || true; service_pid=""
done
