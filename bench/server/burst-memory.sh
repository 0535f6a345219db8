#!/usr/bin/env bash
# Memory of the service around a burst of the largest uploads (figures, never pass/fail):
# 64 clients at once each send an upload of a page at the size limit (1 MB of page text, a
# body of about 3 MB); the service's resident memory (VmRSS) is read before, at its highest
# during the burst, and after 3 s of idling. Refused uploads (no session) are fine here: the
# body is read and taken apart all the same, which is what holds the memory.
#   bench/server/burst-memory.sh [SERVICE_PROGRAM]   (default: build/default's zenri-service)
# ZR_BURST_CLIENTS (64) sets the clients, ZR_BURST_ROUNDS (3) the bursts one after another.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
service=${1:-$root/build/default/src/server/zenri-service}
clients=${ZR_BURST_CLIENTS:-64}
rounds=${ZR_BURST_ROUNDS:-3}
[ -x "$service" ] || { echo "No $service; build the zenri-service target first." >&2; exit 2; }
command -v curl >/dev/null || { echo "Install curl" >&2; exit 2; }

work=$(mktemp -d)
service_pid=""
cleanup() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$service" init --db "$work/burst.db" >/dev/null
"$service" serve --listen 127.0.0.1:0 --db "$work/burst.db" >"$work/out" 2>"$work/log" &
service_pid=$!
url=""
for _ in $(seq 100); do
    url=$(grep -m1 -o 'http://[^ ]*' "$work/out" 2>/dev/null || true)
    [ -n "$url" ] && break
    sleep 0.1
done
[ -n "$url" ] || { cat "$work/log"; exit 2; }

# zc=4, File="burst", data = 1,048,576 times "a" (code 97), joined by "A".
{
    printf 'zc=52&File=98A117A114A115A116&data=97'
    head -c $((1048576 - 1)) /dev/zero | tr '\0' 'x' | sed 's/x/A97/g'
} >"$work/body"

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$service_pid/status"; }
before=$(rss)
peak=$before
for round in $(seq "$rounds"); do
    pids=()
    for _ in $(seq "$clients"); do
        curl -s -o /dev/null --max-time 120 --data-binary "@$work/body" \
            -H 'Content-Type: application/x-www-form-urlencoded' "$url/asp/index.asp" &
        pids+=($!)
    done
    while kill -0 "${pids[0]}" 2>/dev/null || [ "$(jobs -rp | wc -l)" -gt 0 ]; do
        now=$(rss)
        [ "$now" -gt "$peak" ] && peak=$now
        sleep 0.05
        [ "$(jobs -rp | grep -vc "^$service_pid\$")" -eq 0 ] && break
    done
    wait "${pids[@]}" 2>/dev/null || true
    sleep 3
    echo "round $round: idle $(( $(rss) / 1024 )) MB"
done
after=$(rss)
echo "body $(( $(stat -c %s "$work/body") / 1024 )) KB, $clients clients at once, $rounds rounds"
echo "resident memory: before $((before / 1024)) MB, highest $((peak / 1024)) MB, idle after $((after / 1024)) MB"
