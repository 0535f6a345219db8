#!/usr/bin/env bash
# Builds the Debian packages of a build folder, unpacks them into a temporary folder and runs
# the unpacked service as an operator would, without --site: its pages and the page styles'
# assets must be served from the package's own site folder.
#   tests/package/check-packages.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
work=$(mktemp -d)
service_pid=""
cleanup() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
client=$(ls "$work"/out/zenri-biaobai_*.deb) || fail "no client package"
service=$(ls "$work"/out/zenri-service_*.deb) || fail "no service package"

# What each package says of itself.
dpkg-deb -f "$client" Depends | grep -q fonts-noto-cjk || fail "the client does not depend on its fonts"
dpkg-deb -f "$client" Depends | grep -q libqt6widgets6 || fail "the client does not depend on Qt"
dpkg-deb -f "$service" Depends | grep -q libqt6sql6-sqlite || fail "the service lacks its SQLite driver"
dpkg-deb -f "$service" Depends | grep -q libmicrohttpd || fail "the service lacks libmicrohttpd"

root="$work/root"
dpkg-deb -x "$client" "$root"
dpkg-deb -x "$service" "$root"
for file in usr/bin/ZenriBiaobai usr/share/applications/zenri-biaobai.desktop \
            usr/share/icons/hicolor/256x256/apps/zenri-biaobai.png \
            usr/bin/zenri-service usr/lib/systemd/system/zenri-service@.service \
            etc/zenri-service/zenri-service.conf usr/share/doc/zenri-service/examples/nginx.conf \
            usr/share/zenri-service/site/index.html; do
    [ -e "$root/$file" ] || fail "$file is not in the packages"
done
grep -q '^Exec=ZenriBiaobai$' "$root/usr/share/applications/zenri-biaobai.desktop" ||
    fail "the menu entry does not start the program"
! ldd "$root/usr/bin/ZenriBiaobai" "$root/usr/bin/zenri-service" | grep -q "not found" ||
    fail "a library of the programs is missing"

# The unpacked service, with the packaged configuration file (its database moved here).
sed "s|^db = .*|db = $work/service.db|" "$root/etc/zenri-service/zenri-service.conf" >"$work/zenri.conf"
"$root/usr/bin/zenri-service" init --demo --hash-cost min --config "$work/zenri.conf" \
    >"$work/init.log" 2>&1 || { cat "$work/init.log"; fail "init"; }
"$root/usr/bin/zenri-service" serve --listen 127.0.0.1:0 --config "$work/zenri.conf" \
    >"$work/out.log" 2>"$work/err.log" &
service_pid=$!
url=""
for _ in $(seq 100); do
    url=$(grep -m1 -o 'listening on http://[^ ]*' "$work/out.log" "$work/err.log" 2>/dev/null |
          head -1 | sed 's/.*listening on //' || true)
    [ -n "$url" ] && break
    kill -0 "$service_pid" 2>/dev/null || { cat "$work/err.log"; fail "the service ended"; }
    sleep 0.1
done
[ -n "$url" ] || fail "the service did not start"
! grep -q "no site folder" "$work/err.log" || fail "the service did not find its site folder"

status() { curl -s -o /dev/null -w '%{http_code}' "$url$1"; }
for path in / /download /biaobai/FG2/js/music.js /biaobai/media/love-song.mp3 /healthz; do
    code=$(status "$path")
    [ "$code" = 200 ] || fail "GET $path answered $code"
done
curl -s "$url/" | grep -q 'Zenri' || fail "the home page is not the service's"
echo "packages: $(basename "$client") $(stat -c %s "$client") bytes," \
     "$(basename "$service") $(stat -c %s "$service") bytes; unpacked service at $url served" \
     "its pages"
