# Sourced by the README's commands: the Debian packages the project needs, in one place.
VELNOR_PACKAGES="g++ cmake ninja-build pkg-config qt6-base-dev libjpeg-dev libgtest-dev libgmock-dev fonts-liberation xvfb xauth xdotool x11-apps imagemagick libcurl4-openssl-dev tinyproxy util-linux xdg-utils libcpp-httplib-dev libsqlite3-dev libpq-dev postgresql wrk nginx curl qt6-multimedia-dev pulseaudio pulseaudio-utils libbenchmark-dev liblz4-dev clang libclang-rt-14-dev time faketime sqlite3 libglib2.0-bin"

# Installs what is missing (as root), or says exactly what to run and stops.
velnor_install_packages() {
  local missing=() p
  for p in $VELNOR_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Some packages are missing. Run this, then try again:" >&2
    echo "  sudo apt-get install -y $VELNOR_PACKAGES" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
}
