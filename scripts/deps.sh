# Sourced by the README's commands: the Debian packages the project needs, in one place.
# What building and playing the game (and building its web server) need: scripts/play.
VELNOR_PLAY_PACKAGES="g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools libjpeg-dev libpng-dev libxcb1-dev libfontconfig-dev fonts-liberation xdg-utils libboost-dev zlib1g-dev libbrotli-dev libsqlite3-dev libpq-dev libsodium-dev libssl-dev"
# What the tests, the benchmarks and the fuzzing need besides (a screen reader's view, for one, needs
# a session bus, the accessibility bus and pyatspi): scripts/test installs both lists.
VELNOR_TEST_PACKAGES="libgtest-dev libgmock-dev libcpp-httplib-dev openssl clang-format xvfb xauth xdotool x11-apps x11-utils openbox imagemagick tinyproxy util-linux wrk nginx curl pulseaudio pulseaudio-utils libbenchmark-dev liblz4-dev clang libclang-rt-14-dev time faketime sqlite3 libglib2.0-bin postgresql dbus-daemon at-spi2-core python3-pyatspi"
# What building the Debian packages and checking them need besides the first list: scripts/package
# and scripts/test.
VELNOR_PACKAGE_PACKAGES="build-essential debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream man-db groff-base"

# Installs what is missing of the packages named (as root), or says exactly what to run and stops.
velnor_install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Some packages are missing. Run this, then try again:" >&2
    echo "  sudo apt-get install -y $*" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
}
