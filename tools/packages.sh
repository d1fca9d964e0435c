# The Debian packages the build and the tests need; sourced by the two set-up commands.
zov_install_packages() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg -s "$@" >/dev/null 2>&1; then
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
  fi
}
ZOV_BUILD_PACKAGES=(cmake make g++ pkg-config libfltk1.3-dev fonts-liberation2)
ZOV_TEST_PACKAGES=(libgtest-dev libbenchmark-dev mscompress libwin-hivex-perl liblnk-utils clang libclang-rt-14-dev xvfb xauth xdotool imagemagick icewm x11-utils)
