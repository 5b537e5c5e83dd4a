#!/usr/bin/env bash
# Set-up, build, run and test of the reader on Debian 12.
#   scripts/lector.sh run [LectorDorvik|LectorLinea]
#                            install what is missing, build, start the program (LectorDorvik
#                            when none is named) on the sample title
#   scripts/lector.sh test   install what is missing, build, run every test (normal and sanitized)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc)"

PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6svg6
    libjpeg62-turbo-dev libjpeg-turbo-progs libsqlite3-dev
    libavformat-dev libavcodec-dev libavutil-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
    pulseaudio ffmpeg xvfb xauth openbox poppler-utils xdg-utils libx11-dev
    breeze-icon-theme fonts-dejavu-core fonts-liberation qt6-translations-l10n
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    # One query for the whole list (a query per package took seconds at every start).
    local installed missing=() package
    installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${PACKAGES[@]}" 2>/dev/null |
        awk '$1 == "ii" { print $2 }' || true)
    for package in "${PACKAGES[@]}"; do
        if [[ $'\n'$installed$'\n' != *$'\n'$package$'\n'* ]]; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

configure() { # build-dir [cmake options...]
    local dir="$1"
    shift
    # Once per build folder: later builds run CMake again by themselves when a
    # CMakeLists.txt changes.
    [ -f "$dir/CMakeCache.txt" ] && [ -f "$dir/Makefile" ] && return
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

build() { # build-dir [cmake options...]
    configure "$@"
    cmake --build "$1" -j"$JOBS"
}

# make's line for every target it finds up to date and CMake's progress notes:
# with nothing to rebuild, a start prints nothing. What is built, compiler
# messages and errors still show.
without_up_to_date() {
    grep --line-buffered -v -e '] Built target ' -e '] Automatic MOC for target ' \
        -e 'Consolidate compiler generated dependencies of target ' -e '^-- ' || true
}

# The two programs and the sample title they open (the media module and the
# title builder come with them), not the tests: one goal, built in parallel.
build_programs() { # build-dir
    if [ ! -f "$1/Makefile" ]; then
        echo "First build of the programs and the sample title in $1 (a few minutes)."
    fi
    configure "$1"
    cmake --build "$1" -j"$JOBS" --target programs_and_sample | without_up_to_date
}

run_tests() { # build-dir
    (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$JOBS")
}

case "${1:-}" in
run)
    program="${2:-LectorDorvik}"
    case "$program" in
    LectorDorvik | LectorLinea) ;;
    *)
        echo "unknown program: $program (LectorDorvik or LectorLinea)" >&2
        exit 2
        ;;
    esac
    install_missing
    build_programs "$ROOT/build"
    cd "$ROOT/build/samples/title"
    if [ -z "${DISPLAY:-}" ]; then
        echo "No display: $program runs on an invisible X server (xvfb-run); stop it with Ctrl+C." >&2
        exec xvfb-run -a -s "-screen 0 1280x1024x24" "./$program" general
    fi
    exec "./$program" general
    ;;
test)
    install_missing
    build "$ROOT/build"
    run_tests "$ROOT/build"
    build "$ROOT/build-asan" -DLECTOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    run_tests "$ROOT/build-asan"
    ;;
*)
    echo "usage: $0 run [LectorDorvik|LectorLinea] | test" >&2
    exit 2
    ;;
esac
