# Shared by the project's scripts: where things are and how to install what is missing.
NESTORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# A helper or a second checkout may build elsewhere: NESTORA_BUILD=/some/dir scripts/test
NESTORA_BUILD="${NESTORA_BUILD:-$NESTORA_ROOT/build}"

# Debian packages the build and the tests need. Never the i386 architecture or wine32:
# once installed, /usr/bin/wine runs the 32-bit loader, which cannot execute here.
NESTORA_PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
    wine wine64 xvfb x11-utils imagemagick clang nsis osslsigncode openssl git
)

nestora_log() { printf '[nestora] %s\n' "$*" >&2; }

nestora_install_packages() {
    local missing=() p status
    for p in "$@"; do
        # Read whole, not piped into grep -q: under pipefail a writer outliving its reader
        # fails the pipeline (scripts/lib/release.sh).
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)
        [[ "$status" == *"install ok installed"* ]] || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    nestora_log "installing: ${missing[*]}"
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq >/dev/null || true
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}
