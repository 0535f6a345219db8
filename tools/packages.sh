# Debian 12 packages of this project, sourced by ./run and ./test.
# shellcheck shell=bash

ZR_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
    libmicrohttpd-dev
    libsodium-dev libqrencode-dev sqlite3
    libgtest-dev libgmock-dev libbenchmark-dev
)
# What the windows need to look right: CJK faces for 黑体/宋体/微软雅黑, metric twins of Arial.
ZR_RUN_PACKAGES=(fonts-noto-cjk fonts-wqy-zenhei fonts-liberation2 fonts-dejavu-core)
# The browser tests of the page styles: Debian's Chromium, driven from Node.js.
# zbarimg reads the upload window's QR code back; clang and its runtimes build the fuzz
# targets (libFuzzer, the sanitizers).
# postgresql: a server of the tests' own for the PostgreSQL store; dpkg-dev and curl build and
# try the Debian packages.
ZR_TEST_PACKAGES=(xvfb xauth imagemagick chromium nodejs zbar-tools clang libclang-rt-dev
                  postgresql dpkg-dev curl)

# Installs the packages that are missing (as root), or prints the apt-get line and fails.
zr_ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends "${missing[@]}" ||
        { apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"; }
}
