# Shared by the project's scripts: the packages it needs and the Wine set-up.
# shellcheck shell=bash

ZELBO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

ZELBO_PACKAGES=(
    cmake make g++ python3 clang libclang-rt-14-dev
    googletest libbenchmark-dev libtomlplusplus-dev
    g++-mingw-w64-x86-64 mingw-w64-tools
    wine wine64 fonts-wine xvfb xauth imagemagick
    ncompress lame
)

# Installs whatever of ZELBO_PACKAGES is missing (apt-get update once, only when needed).
zelbo_install_packages() {
    local missing=()
    local package
    for package in "${ZELBO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Wine quiet, one prefix per build folder, and the system code page of a Western-European Windows
# (1252): Wine takes it from the locale, each program from its own. ZELBO_WINE_LOCALE names another
# locale, as the tests that run the player on other code pages do.
zelbo_wine_env() {
    local build_dir
    build_dir=$(realpath -m "$1")
    export WINEDEBUG=-all
    export LC_ALL=${ZELBO_WINE_LOCALE:-C.UTF-8}
    export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Xvfb at the size the project's screenshots and window tests expect.
ZELBO_XVFB_ARGS=(-a -s "-screen 0 1024x768x24")
