#!/usr/bin/env bash
# A PostgreSQL server of the tests' own, on a loopback port:
#
#   tests/support/postgres.sh start FOLDER   # initdb on first use, start, write FOLDER/url
#   tests/support/postgres.sh stop FOLDER    # stop it and remove its data
#
# It runs as an unprivileged user (PostgreSQL refuses root): the caller, or "postgres" when
# the caller is root. Its data lives in FOLDER (or, when that user cannot reach FOLDER, in a
# temporary folder named in FOLDER/datadir); nothing else is touched. It listens on 127.0.0.1
# only, on a free port, with its socket beside its data, and trusts local connections: it
# holds nothing but test data. Durability is off, for speed: a crash loses nothing needed.
set -euo pipefail

command=${1:?start or stop}
folder=$(mkdir -p "${2:?folder}" && cd "$2" && pwd)
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$bin/initdb" ] || { echo "postgres.sh: PostgreSQL is not installed" >&2; exit 1; }

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

data_folder() {
    if [ -f "$folder/datadir" ]; then
        cat "$folder/datadir"
    elif [ "$(id -u)" -ne 0 ]; then
        echo "$folder/data"
    else
        mkdir -p "$folder/data"
        chown postgres: "$folder/data"
        if runuser -u postgres -- test -w "$folder/data"; then
            echo "$folder/data"
        else
            rmdir "$folder/data"
            local tmp
            tmp=$(mktemp -d /tmp/zr-postgres.XXXXXX)
            chown postgres: "$tmp"
            echo "$tmp" | tee "$folder/datadir"
        fi
    fi
}

running() {
    [ -f "$1/postmaster.pid" ] && as_owner "$bin/pg_ctl" -D "$1" status >/dev/null 2>&1
}

case "$command" in
start)
    data=$(data_folder)
    if running "$data" && [ -f "$folder/url" ]; then
        cat "$folder/url"  # left over from a run that did not stop it: use it
        exit 0
    fi
    if [ ! -f "$data/PG_VERSION" ]; then
        as_owner "$bin/initdb" -D "$data" -U zenri -A trust -E UTF8 --locale=C.UTF-8 \
            >"$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log" >&2; exit 1; }
    fi
    for _ in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 30000))
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue  # taken
        if as_owner "$bin/pg_ctl" -D "$data" -l "$data/server.log" -w -t 60 start -o \
            "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$data \
             -c fsync=off -c synchronous_commit=off -c full_page_writes=off \
             -c max_connections=300" >/dev/null 2>&1; then
            echo "postgresql://zenri@127.0.0.1:$port/postgres" | tee "$folder/url"
            exit 0
        fi
    done
    cat "$data/server.log" >&2
    exit 1
    ;;
stop)
    data=$(data_folder)
    if running "$data"; then
        as_owner "$bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null
    fi
    rm -rf "$data" "$folder/url" "$folder/datadir"
    ;;
*)
    echo "postgres.sh: start or stop" >&2
    exit 2
    ;;
esac
