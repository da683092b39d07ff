# Shared by the scripts in this folder: package installation and the build.
# shellcheck shell=bash

LUDORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Packages to build and run the program. ccache keeps what was compiled, for the next build
# in any clone on the machine (build folders of clones share it, see configure_tree).
LUDORA_BUILD_PACKAGES=(build-essential cmake ninja-build ccache qt6-base-dev libgl-dev zlib1g-dev
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

# Every build compiles through ccache. Paths inside the tree count as relative and the debug
# information names the tree "." (CMakeLists.txt), so that the build folders of all clones
# on the machine share the cache. Depend mode takes the headers a compilation read from the
# compiler instead of running the preprocessor again: a compilation the cache does not know
# costs hardly more than without it.
export CCACHE_BASEDIR=$LUDORA_ROOT CCACHE_DEPEND=1

# Configures a build folder: configure_tree DIR [cmake options...]
configure_tree() {
    local dir=$1
    shift
    cmake -S "$LUDORA_ROOT" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
}

# Configures and builds into the given folder: build_tree DIR [cmake options...]
build_tree() {
    configure_tree "$@"
    cmake --build "$1" --parallel "$(nproc)"
}

# The options of the test build (scripts/test), which the other scripts' builds share. The
# debug information is line tables only (-g1): reports of tests, valgrind and the sanitizers
# keep their files and lines, and the build takes a quarter less time. Configure a folder of
# your own with -g to look at variables in a debugger.
LUDORA_TEST_BUILD_OPTIONS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" -DLUDORA_WERROR=ON)
# Configures a folder with them unless it is configured already: ensure_configured DIR
ensure_configured() {
    [ -f "$1/CMakeCache.txt" ] || configure_tree "$1" "${LUDORA_TEST_BUILD_OPTIONS[@]}"
}

# The clang build with AddressSanitizer and UndefinedBehaviorSanitizer that holds both the
# whole test suite (scripts/sanitize) and the libFuzzer targets (fuzz/run): Debug keeps the
# assertions, -O1 makes the instrumented programs run in reasonable time, line tables (-g1)
# are all the sanitizers' reports need.
LUDORA_SANITIZER_PACKAGES=(clang libclang-rt-dev lld)
LUDORA_SANITIZER_BUILD_DIR=${LUDORA_ASAN_BUILD_DIR:-$LUDORA_ROOT/build-asan}
configure_sanitizer_tree() {
    local cache=$LUDORA_SANITIZER_BUILD_DIR/CMakeCache.txt
    # A folder configured with another compiler (the gcc sanitizer build of old) starts anew:
    # CMake cannot switch compilers in place.
    if [ -f "$cache" ] && ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++$' "$cache"; then
        rm -rf "$cache" "$LUDORA_SANITIZER_BUILD_DIR/CMakeFiles"
    fi
    configure_tree "$LUDORA_SANITIZER_BUILD_DIR" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" -DLUDORA_WERROR=ON \
        -DLUDORA_SANITIZE=ON -DLUDORA_BUILD_FUZZ=ON -DLUDORA_BUILD_BENCH=OFF
}
