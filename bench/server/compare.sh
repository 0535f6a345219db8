#!/usr/bin/env bash
# The service's speed as ratios, measured in one run on this machine (figures, never
# pass/fail):
#   - the settings query at 100 connections and an 80 KB page upload at 50, this build against
#     the service of an earlier commit (built here, in a temporary folder);
#   - GET /love/<name> at 50 connections against nginx serving the same page from a file with
#     the same headers (Debian's nginx, started here on a port of its own);
#   - sign-ins per second at the standard password hash cost, and per core.
# Each measurement runs twice, alternating the two sides, after 3 s unmeasured; the figure is
# the mean of the two. Builds the earlier commit's zenri-service only.
#   bench/server/compare.sh [BUILD_DIR] [EARLIER_COMMIT]
# (defaults: build/default; the commit in bench/server/baseline-commit). ZR_BENCH_SECONDS (10)
# sets the length of each run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/default}
base_commit=${2:-$(cat "$here/baseline-commit")}
seconds=${ZR_BENCH_SECONDS:-10}
current=$build/src/server/zenri-service

[ -x "$current" ] || { echo "No $current; build the zenri-service target first." >&2; exit 1; }
for tool in wrk curl nginx; do
    if ! command -v "$tool" >/dev/null && [ ! -x "/usr/sbin/$tool" ]; then
        [ "$(id -u)" -eq 0 ] || { echo "Install $tool: sudo apt-get install -y $tool" >&2; exit 1; }
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$tool" >/dev/null
    fi
done
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    git -C "$root" worktree remove --force "$work/base" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# --- the earlier service, built from its commit ------------------------------------------
echo "building zenri-service of $base_commit ..."
git -C "$root" worktree add --detach "$work/base" "$base_commit" >/dev/null 2>&1
cmake -S "$work/base" -B "$work/base/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCH=OFF >"$work/base-build.log" 2>&1
cmake --build "$work/base/build" --target zenri-service >>"$work/base-build.log" 2>&1 ||
    { tail -20 "$work/base-build.log"; exit 1; }
earlier=$work/base/build/src/server/zenri-service

# --- a service on a fresh database, with a session and a page name for the runs ------------
# shellcheck source=gateway.sh
source "$here/gateway.sh"

# start NAME BINARY [HASH_COST]: sets url_NAME, cookie_NAME.
start() {
    local name=$1 bin=$2 cost=${3:-min} dir="$work/$1"
    mkdir -p "$dir"
    "$bin" init --demo --hash-cost "$cost" --db "$dir/bench.db" >/dev/null
    # Limits off, as far as the version knows them (an older one has fewer options).
    local help limits=()
    help=$("$bin" --help 2>&1 || true)
    for option in signin-limit:0 register-limit:0 lookup-limit:0 failure-limit:0 \
                  page-quota:1073741824 address-connections:1000; do
        grep -q -- "--${option%%:*}" <<<"$help" && limits+=("--${option%%:*}" "${option#*:}")
    done
    "$bin" serve --listen 127.0.0.1:0 --db "$dir/bench.db" --hash-cost "$cost" "${limits[@]}" \
        >"$dir/out" 2>"$dir/service.log" &
    pids+=($!)
    local url=""
    for _ in $(seq 100); do
        url=$(grep -m1 -o 'http://[^ ]*' "$dir/out" 2>/dev/null || true)
        [ -n "$url" ] && break
        sleep 0.1
    done
    [ -n "$url" ] || { cat "$dir/service.log"; exit 1; }
    local signin cookie claim
    signin="zc=49&sql=$(joinA "$(ascii "Select * from ")" "$USER_TABLE" "$(ascii " where ")" \
        "$USER" "$(ascii "='88888888' and ")" "$PASSWORD" "$(ascii "='zenri520'")")"
    cookie=$(curl -s -D - -o /dev/null --data "$signin" "$url/asp/index.asp" |
             sed -n 's/^[Ss]et-[Cc]ookie: *\(zr_session=[0-9a-f]*\).*/\1/p')
    [ -n "$cookie" ] || { echo "sign-in failed on $name"; exit 1; }
    claim="zc=50&sql=$(joinA "$(ascii "update ")" "$USER_TABLE" "$(ascii " set ")" "$PAGE_NAME" \
        "$(ascii "='benchpage',")" "$PAGE_STYLE" "$(ascii "='bench' where ")" "$USER" \
        "$(ascii "='88888888'")")"
    [ "$(curl -s -H "Cookie: $cookie" --data "$claim" "$url/asp/index.asp")" = OK ] ||
        { echo "claiming the page name failed on $name"; exit 1; }
    printf -v "url_$name" '%s' "$url"
    printf -v "cookie_$name" '%s' "$cookie"
}

# measure URL COOKIE SCRIPT CONNECTIONS: prints "requests/s p99-ms errors".
measure() {
    local url=$1 cookie=$2 script=$3 connections=$4
    export ZR_BENCH_DIR=$here ZR_COOKIE=$cookie ZR_PAGE=benchpage
    wrk -t2 -c"$connections" -d3s --timeout 10s -s "$here/$script" "$url" >/dev/null
    wrk -t2 -c"$connections" -d"${seconds}s" --timeout 10s -s "$here/$script" "$url" |
        sed -n 's/^RESULT *[^ ]* *\([0-9.]*\) requests\/s.*p99 *\([0-9.]*\) ms *[0-9]* requests, \([0-9]*\) errors.*/\1 \2 \3/p'
}

# compare LABEL SCRIPT CONNECTIONS A B: both sides twice, alternating; prints the means.
compare() {
    local label=$1 script=$2 connections=$3 a=$4 b=$5 ra=() rb=() i
    for i in 1 2; do
        local ua="url_$a" ca="cookie_$a" ub="url_$b" cb="cookie_$b"
        ra+=("$(measure "${!ua}" "${!ca:-}" "$script" "$connections")")
        rb+=("$(measure "${!ub}" "${!cb:-}" "$script" "$connections")")
    done
    awk -v label="$label" -v a="$a" -v b="$b" -v ra="${ra[*]}" -v rb="${rb[*]}" 'BEGIN {
        split(ra, x, " "); split(rb, y, " ")
        qa = (x[1] + x[4]) / 2; pa = (x[2] + x[5]) / 2; ea = x[3] + x[6]
        qb = (y[1] + y[4]) / 2; pb = (y[2] + y[5]) / 2; eb = y[3] + y[6]
        printf "%-34s %-8s %9.0f req/s  p99 %7.2f ms  errors %d\n", label, a, qa, pa, ea
        printf "%-34s %-8s %9.0f req/s  p99 %7.2f ms  errors %d\n", label, b, qb, pb, eb
        printf "%-34s ratio %s/%s: %.2f\n\n", label, b, a, qb / qa
    }'
}

start earlier "$earlier"
start current "$current"
echo "machine: $(nproc) processors; ${seconds}s per run, each run twice"
echo "earlier: $base_commit; current: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet || echo ' (with changes)')"
echo
compare "settings query, 100 connections" settings.lua 100 earlier current
compare "80 KB page upload, 50 connections" upload.lua 50 earlier current

# --- nginx serving the published page from a file with the service's headers --------------
page_url="$url_current/love/benchpage"
mkdir -p "$work/www/love"
chmod o+rx "$work" "$work/www" "$work/www/love"  # nginx's workers run as another user
curl -s -o "$work/www/love/benchpage" "$page_url"
chmod o+r "$work/www/love/benchpage"
headers=$(curl -s -D - -o /dev/null "$page_url" | tr -d '\r')
content_type=$(sed -n 's/^[Cc]ontent-[Tt]ype: //p' <<<"$headers")
add_headers=""
while IFS= read -r line; do
    name=${line%%:*}
    case "${name,,}" in
        content-type|content-length|date|connection|keep-alive|etag|"") continue ;;  # nginx makes its own ETag
        http/*) continue ;;
    esac
    value=${line#*: }
    add_headers+="            add_header $name \"${value//\"/\\\"}\" always;"$'\n'
done <<<"$headers"
nginx_port=$((20000 + RANDOM % 30000))
cat >"$work/nginx.conf" <<EOF
worker_processes 2;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
daemon off;
events { worker_connections 4096; }
http {
    access_log $work/nginx-access.log;
    sendfile on;
    tcp_nopush on;
    keepalive_requests 100000;
    server {
        listen 127.0.0.1:$nginx_port;
        location /love/ {
            root $work/www;
            types { }
            default_type "$content_type";
$add_headers        }
    }
}
EOF
"$nginx_bin" -p "$work" -c "$work/nginx.conf" 2>"$work/nginx-start.log" &
pids+=($!)
url_nginx="http://127.0.0.1:$nginx_port"
for _ in $(seq 50); do
    curl -s -o /dev/null "$url_nginx/love/benchpage" && break
    sleep 0.1
done
cmp -s <(curl -s "$url_nginx/love/benchpage") "$work/www/love/benchpage" ||
    { cat "$work/nginx-start.log" "$work/nginx-error.log"; echo "nginx does not serve the page"; exit 1; }
echo "page of $(stat -c %s "$work/www/love/benchpage") bytes; the service's headers, as nginx sends them too:"
grep -v -i '^\(date\|content-length\|http/\)' <<<"$headers" | sed '/^$/d; s/^/    /'
echo
compare "GET /love/<name>, 50 connections" page.lua 50 nginx current

# --- sign-ins at the standard cost --------------------------------------------------------
start signin "$current" standard
hash_threads=2
r=$(measure "$url_signin" "" signin.lua 4)
read -r rate p99 errors <<<"$r"
awk -v r="$rate" -v p="$p99" -v e="$errors" -v n="$hash_threads" 'BEGIN {
    printf "sign-ins (standard hash cost), 4 connections: %.1f per second, %.1f per core (%d hashing threads), p99 %.0f ms, errors %d\n", r, r / n, n, p, e }'
