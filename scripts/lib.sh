# Shared by the scripts in this folder: package installation and the build.
# shellcheck shell=bash

LUDORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Packages to build and run the program.
LUDORA_BUILD_PACKAGES=(build-essential cmake ninja-build qt6-base-dev libgl-dev
    fonts-liberation2 fonts-dejavu-core xdg-utils)
# Packages the test suite needs on top: a virtual X server, a CUPS server with PDF
# printers, PDF tools, screenshots, the accessibility bus, and gio to open a collection
# file as a file manager does.
LUDORA_TEST_PACKAGES=(xvfb xauth x11-utils xdotool cups printer-driver-cups-pdf
    poppler-utils imagemagick libbenchmark-dev dbus dbus-x11 at-spi2-core python3-gi
    gir1.2-atspi-2.0 python3 libglib2.0-bin)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whichever of the given packages are missing.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Configures and builds into the given folder: build_tree DIR [cmake options...]
build_tree() {
    local dir=$1
    shift
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        # Paths inside the tree count as relative, so that clones share the cache.
        export CCACHE_BASEDIR=$LUDORA_ROOT
    fi
    cmake -S "$LUDORA_ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}
