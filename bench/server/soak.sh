#!/usr/bin/env bash
# Soak run of the service: a fresh database, then for 5 minutes a mix of the settings query,
# sign-ins, 80 KB page uploads and page reads (GET /love/<name>) from four wrk processes at
# once, 50 connections in all, on loopback. The service's resident memory (VmRSS) is recorded
# every 10 s. At the end it prints requests and errors per kind (non-2xx answers, 2xx answers
# that are not the expected ones, socket errors) and the memory at minute 1 and at the end with
# their ratio. Exits with 1 when there was any error, the memory grew by more than 10 % from
# minute 1 to the end, or the service died; 2 when the run could not be set up; 0 otherwise.
# Builds nothing: build zenri-service first.
#   bench/server/soak.sh [BUILD_DIR]       (default: build/default)
# ZR_SOAK_SECONDS (300) sets the length, ZR_SOAK_CONNECTIONS (50) the connections, ZR_SOAK_MIX
# (3:2:2:3) their shares for settings, sign-in, upload and page (0 leaves a kind out; the page
# reads still need the uploads' page, which one upload makes first), ZR_SOAK_SAMPLE (10) the
# seconds between memory
# samples, ZR_SOAK_SERVICE a service program to run instead of the build's, ZR_SOAK_LOG=FILE
# keeps the service's log, ZR_SOAK_MEMORY=FILE the memory samples, ZR_SOAK_SERVE_ARGS adds
# options to "serve" ("--threads 16").
# ZR_SOAK_HASH_COST (min) is the password hash cost of the demo account: with the standard cost
# every sign-in holds 32 MiB for its hash while it runs (two at a time), which would swamp the
# memory samples; set it to "standard" to soak the real cost anyway.
# Only the service's command line (init, serve, "listening on"), the gateway page and
# /love/<name> are used, so the script serves any version of the HTTP layer.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/default}
service=${ZR_SOAK_SERVICE:-$build/src/server/zenri-service}
seconds=${ZR_SOAK_SECONDS:-300}
connections=${ZR_SOAK_CONNECTIONS:-50}
sample=${ZR_SOAK_SAMPLE:-10}
hash_cost=${ZR_SOAK_HASH_COST:-min}

[ -x "$service" ] || { echo "No $service; build the zenri-service target first." >&2; exit 2; }
[ "$connections" -ge 4 ] || { echo "ZR_SOAK_CONNECTIONS must be at least 4" >&2; exit 2; }
[ "$seconds" -ge "$sample" ] || { echo "ZR_SOAK_SECONDS must be at least ZR_SOAK_SAMPLE" >&2; exit 2; }
for tool in wrk curl; do
    if ! command -v "$tool" >/dev/null; then
        [ "$(id -u)" -eq 0 ] || { echo "Install $tool: sudo apt-get install -y $tool" >&2; exit 2; }
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$tool" >/dev/null
    fi
done

work=$(mktemp -d)
service_pid=""
sampler_pid=""
cleanup() {
    [ -n "$sampler_pid" ] && kill "$sampler_pid" 2>/dev/null
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    [ -n "${ZR_SOAK_LOG:-}" ] && cp "$work/service.log" "$ZR_SOAK_LOG"
    [ -n "${ZR_SOAK_MEMORY:-}" ] && cp "$work/memory" "$ZR_SOAK_MEMORY"
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=gateway.sh
source "$here/gateway.sh"

"$service" init --demo --hash-cost "$hash_cost" --db "$work/soak.db" >/dev/null
# shellcheck disable=SC2086 # the extra options are words
"$service" serve --listen 127.0.0.1:0 --db "$work/soak.db" --signin-limit 0 --register-limit 0 --lookup-limit 0 --failure-limit 0 \
    ${ZR_SOAK_SERVE_ARGS:-} >"$work/out" 2>"$work/service.log" &
service_pid=$!
url=""
for _ in $(seq 100); do
    url=$(grep -m1 -o 'http://[^ ]*' "$work/out" 2>/dev/null || true)
    [ -n "$url" ] && break
    sleep 0.1
done
[ -n "$url" ] || { cat "$work/service.log"; exit 2; }

# An account of its own for the uploads and the reads, with its session and its page name:
# the sign-ins of the load use the demo account, whose many sessions push its older ones out.
page=soakpage
PHONE="-13610A-17414" REGISTERED="-10334A-19743A-13647A-17180"
register="zc=50&sql=$(joinA "$(ascii "insert into ")" "$USER_TABLE" "$(ascii " (")" "$USER" "$(ascii ",")" \
    "$PASSWORD" "$(ascii ",")" "$PHONE" "$(ascii ",")" "$REGISTERED" \
    "$(ascii ") values ('66666666', 'zenri520', '13800000000', '2026-01-01 00:00:00')")")"
[ "$(curl -s --data "$register" "$url/asp/index.asp")" = OK ] || { echo "registration failed"; exit 2; }
signin="zc=49&sql=$(joinA "$(ascii "Select * from ")" "$USER_TABLE" "$(ascii " where ")" "$USER" \
    "$(ascii "='66666666' and ")" "$PASSWORD" "$(ascii "='zenri520'")")"
cookie=$(curl -s -D - -o /dev/null --data "$signin" "$url/asp/index.asp" |
         tr -d '\r' | sed -n 's/^[Ss]et-[Cc]ookie: *\([^;]*\).*/\1/p' | head -n1)
[ -n "$cookie" ] || { echo "sign-in failed"; exit 2; }
claim="zc=50&sql=$(joinA "$(ascii "update ")" "$USER_TABLE" "$(ascii " set ")" "$PAGE_NAME" \
    "$(ascii "='$page',")" "$PAGE_STYLE" "$(ascii "='soak' where ")" "$USER" "$(ascii "='66666666'")")"
[ "$(curl -s -H "Cookie: $cookie" --data "$claim" "$url/asp/index.asp")" = OK ] ||
    { echo "claiming the page name failed"; exit 2; }
export ZR_BENCH_DIR=$here ZR_COOKIE=$cookie ZR_PAGE=$page

# The page exists before the reads start: one upload, checked like the others.
first=$(ZR_SOAK_KIND=upload wrk -t1 -c1 -d1s --timeout 10s -s "$here/soak.lua" "$url" |
        grep '^SOAK' || true)
read -r _ _ n non wrong _ <<<"$first"
if ! [[ "${n:-}" =~ ^[1-9][0-9]*$ && "${non:-}" == 0 && "${wrong:-}" == 0 ]]; then
    echo "the first upload failed: $first"
    exit 2
fi
[ "$(curl -s "$url/love/$page" | wc -c)" -gt 80000 ] || { echo "the page is not there"; exit 2; }

kinds=(settings signin upload page)
IFS=: read -r -a shares <<<"${ZR_SOAK_MIX:-3:2:2:3}"
share_sum=0
for share in "${shares[@]}"; do
    [[ "$share" =~ ^[0-9]+$ ]] || { echo "ZR_SOAK_MIX: shares are whole numbers" >&2; exit 2; }
    share_sum=$((share_sum + share))
done
[ "${#shares[@]}" -eq 4 ] && [ "$share_sum" -gt 0 ] ||
    { echo "ZR_SOAK_MIX needs four shares, not all 0 (settings:signin:upload:page)" >&2; exit 2; }
echo "service at $url, $(nproc) processors, ${seconds}s, $connections connections," \
     "memory every ${sample}s, password hash cost $hash_cost${ZR_SOAK_SERVE_ARGS:+, serve $ZR_SOAK_SERVE_ARGS}"

# Memory samples: "SECONDS KB" from the start of the load, on a fixed grid.
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$service_pid/status" 2>/dev/null || true; }
start_ns=$(date +%s%N)
(
    k=1
    while [ $((k * sample)) -le "$seconds" ]; do
        target=$((start_ns + k * sample * 1000000000))
        now=$(date +%s%N)
        [ "$target" -gt "$now" ] && sleep "$(awk -v d=$((target - now)) 'BEGIN { printf "%.3f", d / 1e9 }')"
        kb=$(rss_kb)
        [ -n "$kb" ] || kb=dead
        echo "$((k * sample)) $kb" >>"$work/memory"
        k=$((k + 1))
    done
) &
sampler_pid=$!

# Connections per kind in proportion to the shares; the last kind with a share gets the rest.
last=0
for i in "${!kinds[@]}"; do
    [ "${shares[i]}" -gt 0 ] && last=$i
done
counts=()
given=0
for i in "${!kinds[@]}"; do
    c=0
    if [ "$i" -eq "$last" ]; then
        c=$((connections - given))
    elif [ "${shares[i]}" -gt 0 ]; then
        c=$((connections * shares[i] / share_sum))
        [ "$c" -ge 1 ] || c=1
    fi
    counts+=("$c")
    given=$((given + c))
done
echo "connections: settings ${counts[0]}, sign-in ${counts[1]}, upload ${counts[2]}, page ${counts[3]}"

wrk_pids=()
for i in "${!kinds[@]}"; do
    c=${counts[i]}
    [ "$c" -gt 0 ] || continue
    ZR_SOAK_KIND=${kinds[i]} wrk -t1 -c"$c" -d"${seconds}s" --timeout 10s -s "$here/soak.lua" \
        "$url" >"$work/wrk-${kinds[i]}" 2>&1 &
    wrk_pids+=($!)
done
for pid in "${wrk_pids[@]}"; do
    wait "$pid" || true
done
wait "$sampler_pid" || true
sampler_pid=""

failed=0
alive=yes
kill -0 "$service_pid" 2>/dev/null || { alive=no; failed=1; }

printf '%-10s %10s %8s %8s %8s %8s %8s %8s %9s %9s\n' kind requests non-2xx wrong connect read \
    write timeout p50-ms p99-ms
total=0
for i in "${!kinds[@]}"; do
    kind=${kinds[i]}
    [ "${counts[i]}" -gt 0 ] || continue
    line=$(grep '^SOAK' "$work/wrk-$kind" || true)
    if [ -z "$line" ]; then
        echo "$kind: wrk printed no result:"
        cat "$work/wrk-$kind"
        failed=1
        continue
    fi
    read -r _ name requests non wrong connect read_errors write_errors timeouts p50 p99 <<<"$line"
    printf '%-10s %10d %8d %8d %8d %8d %8d %8d %9s %9s\n' "$name" "$requests" "$non" "$wrong" \
        "$connect" "$read_errors" "$write_errors" "$timeouts" "$p50" "$p99"
    total=$((total + requests))
    errors=$((non + wrong + connect + read_errors + write_errors + timeouts))
    [ "$errors" -eq 0 ] || failed=1
done
echo "requests in all: $total in ${seconds}s"

echo "memory samples (s kB): $(tr '\n' ' ' <"$work/memory")"
early_at=60
[ "$seconds" -ge 120 ] || early_at=$sample
early=$(awk -v t="$early_at" '$1 == t { print $2 }' "$work/memory")
late_at=$(tail -n1 "$work/memory" | cut -d' ' -f1)
late=$(tail -n1 "$work/memory" | cut -d' ' -f2)
if [[ "$early" =~ ^[0-9]+$ && "$late" =~ ^[0-9]+$ ]]; then
    ratio=$(awk -v a="$early" -v b="$late" 'BEGIN { printf "%.3f", b / a }')
    echo "memory: ${early} kB at ${early_at}s, ${late} kB at ${late_at}s, ratio $ratio"
    awk -v r="$ratio" 'BEGIN { exit !(r > 1.10) }' && { echo "memory grew by more than 10 %"; failed=1; }
else
    echo "memory: no sample at ${early_at}s or at the end (${early:-none}, ${late:-none})"
    failed=1
fi
size_of() { if [ -e "$1" ]; then du -h "$1" | cut -f1; else echo none; fi; }
echo "service alive at the end: $alive; database $(size_of "$work/soak.db")," \
     "WAL $(size_of "$work/soak.db-wal")"
if command -v sqlite3 >/dev/null; then
    echo "rows in the database: sessions $(sqlite3 "$work/soak.db" 'SELECT count(*) FROM sessions' 2>&1)," \
         "pages $(sqlite3 "$work/soak.db" 'SELECT count(*) FROM pages' 2>&1)"
fi
if [ "$failed" -eq 0 ]; then
    echo "soak: passed"
else
    echo "soak: FAILED"
fi
exit "$failed"
