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

# corvane_debian_options: sets the array debian_options to the options that
# configure a folder as Debian builds a package: the flags that dpkg-buildflags
# gives on this release, every hardening feature on, as debian/rules would ask
# for them, and build type None, as debhelper configures CMake (its Release
# would add -O3). Needs dpkg-dev.
corvane_debian_options() {
    local get=(env DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get)
    debian_options=(-DCMAKE_BUILD_TYPE=None
        -DCMAKE_CXX_FLAGS="$("${get[@]}" CPPFLAGS) $("${get[@]}" CXXFLAGS)"
        -DCMAKE_EXE_LINKER_FLAGS="$("${get[@]}" LDFLAGS)")
}

# corvane_build DIR [TARGET...]
corvane_build() {
    local dir=$1
    shift
    local targets=()
    [[ $# -gt 0 ]] && targets=(--target "$@")
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

# corvane_package DIR: makes the .deb of a built folder and prints its path.
corvane_package() {
    (cd "$1" && cpack -G DEB >/dev/null)
    ls -1 "$PWD/$1"/*.deb
}
