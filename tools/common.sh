# Shared by tools/run and tools/test: the Debian packages the project needs, and the build.
# shellcheck shell=bash

qb_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

qb_packages=(
    cmake ninja-build g++ pkg-config sqlite3 desktop-file-utils
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n libqt6svg6
    qt6-pdf-dev qt6-image-formats-plugins libsane-dev sane-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth openbox x11-utils xdotool imagemagick libxcb1-dev
    cups printer-driver-cups-pdf poppler-utils
)

qb_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs the packages that are missing: apt-get as root, else through sudo, else it prints the
# one line to run and stops.
qb_ensure_packages() {
    local missing=() p
    for p in "${qb_packages[@]}"; do
        qb_installed "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local line="apt-get install -y --no-install-recommends ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
            sudo=(sudo)
        else
            echo "Missing packages. Install them with:" >&2
            echo "  sudo apt-get update && sudo $line" >&2
            exit 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    "${sudo[@]}" $line
}

# qb_build DIR [cmake options...] -- [targets...]
qb_build() {
    local dir=$1; shift
    local opts=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
    [ "${1:-}" = "--" ] && shift
    targets=("$@")
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    cmake -S "$qb_root" -B "$dir" -G Ninja -DQB_WERROR=$werror "${opts[@]}" >/dev/null
    if [ ${#targets[@]} -gt 0 ]; then
        cmake --build "$dir" --target "${targets[@]}"
    else
        cmake --build "$dir"
    fi
}
