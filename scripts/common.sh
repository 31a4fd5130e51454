# Sourced by the scripts in scripts/: the one place that says how a build
# folder is configured and built.

# corvane_configure DIR [-DOPTION=VALUE...]
# The build type and every CORVANE_ option are given, the defaults below first
# and then the caller's, so that a folder configured otherwise before cannot
# change them. Other cache entries (the compiler, CMAKE_CXX_FLAGS and the
# linker flags) stay as the folder first had them.
corvane_configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_QT_MAJOR=5 \
        -DCORVANE_WERROR=OFF -DCORVANE_SANITIZE=OFF -DCORVANE_FUZZ=OFF -DCORVANE_TESTS=OFF "$@"
}

# corvane_build DIR [TARGET...]
corvane_build() {
    local dir=$1
    shift
    local targets=()
    [[ $# -gt 0 ]] && targets=(--target "$@")
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}
