#!/usr/bin/env bash
# Load figures of the service with wrk (figures, never pass/fail): requests per second and p99
# latency at 50 connections on loopback, SQLite store, for the settings query, the sign-in
# lookup, an 80 KB page upload and GET /love/<name>. Builds nothing: build zenri-service first.
#   bench/server/run.sh [BUILD_DIR]       (default: build/default)
# ZR_BENCH_SECONDS (default 10) sets the length of each run, ZR_BENCH_CONNECTIONS (50) the
# connections, ZR_BENCH_THREADS (2) wrk's threads; ZR_BENCH_LOG=FILE keeps the request log.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/default}
service=$build/src/server/zenri-service
seconds=${ZR_BENCH_SECONDS:-10}
connections=${ZR_BENCH_CONNECTIONS:-50}
threads=${ZR_BENCH_THREADS:-2}

[ -x "$service" ] || { echo "No $service; build the zenri-service target first." >&2; exit 1; }
for tool in wrk curl; do
    if ! command -v "$tool" >/dev/null; then
        [ "$(id -u)" -eq 0 ] || { echo "Install $tool: sudo apt-get install -y $tool" >&2; exit 1; }
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$tool" >/dev/null
    fi
done

work=$(mktemp -d)
service_pid=""
cleanup() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    [ -n "${ZR_BENCH_LOG:-}" ] && cp "$work/service.log" "$ZR_BENCH_LOG"
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=gateway.sh
source "$here/gateway.sh"

"$service" init --demo --db "$work/bench.db" >/dev/null
${ZR_BENCH_NICE:+nice -n "$ZR_BENCH_NICE"} "$service" serve --listen 127.0.0.1:0 --db "$work/bench.db" --signin-limit 0 --register-limit 0 \
    --lookup-limit 0 --failure-limit 0 --page-quota 1073741824 --address-connections 1000 \
    >"$work/out" 2>"$work/service.log" &
service_pid=$!
url=""
for _ in $(seq 100); do
    url=$(grep -m1 -o 'http://[^ ]*' "$work/out" || true)
    [ -n "$url" ] && break
    sleep 0.1
done
[ -n "$url" ] || { cat "$work/service.log"; exit 1; }
echo "service at $url, $(nproc) processors, ${seconds}s per run, $connections connections"

# A session of the demo account and a page name for the upload and the page runs.
page=benchpage
signin="zc=49&sql=$(joinA "$(ascii "Select * from ")" "$USER_TABLE" "$(ascii " where ")" "$USER" \
    "$(ascii "='88888888' and ")" "$PASSWORD" "$(ascii "='zenri520'")")"
cookie=$(curl -s -D - -o /dev/null --data "$signin" "$url/asp/index.asp" |
         sed -n 's/^[Ss]et-[Cc]ookie: *\(zr_session=[0-9a-f]*\).*/\1/p')
[ -n "$cookie" ] || { echo "sign-in failed"; exit 1; }
claim="zc=50&sql=$(joinA "$(ascii "update ")" "$USER_TABLE" "$(ascii " set ")" "$PAGE_NAME" \
    "$(ascii "='$page',")" "$PAGE_STYLE" "$(ascii "='bench' where ")" "$USER" "$(ascii "='88888888'")")"
[ "$(curl -s -H "Cookie: $cookie" --data "$claim" "$url/asp/index.asp")" = OK ] ||
    { echo "claiming the page name failed"; exit 1; }

export ZR_BENCH_DIR=$here ZR_COOKIE=$cookie ZR_PAGE=$page
# Each scenario first runs 3 s unmeasured: new connections start with small TCP windows, and
# the first burst of 50 large uploads stalls on them.
run() {
    wrk -t"$threads" -c"$connections" -d3s --timeout 10s -s "$here/$1" "$url" >/dev/null
    wrk -t"$threads" -c"$connections" -d"${seconds}s" --timeout 10s -s "$here/$1" "$url" |
        grep '^RESULT' | sed 's/^RESULT //'
}
run settings.lua
run upload.lua
run page.lua
# Last: every sign-in opens a session, and an account keeps only its newest ten, so the
# session of the upload runs ends here.
run signin.lua
echo "page size: $(curl -s "$url/love/$page" | wc -c) bytes; database: $(du -sh "$work" | cut -f1)"
