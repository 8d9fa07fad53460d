# Installs the Debian packages that are missing; sourced by run and test.
# Quiet and without any apt call when everything is there already.

kx90_missing() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' ||
      printf '%s\n' "$pkg"
  done
}

kx90_install() {
  local missing
  missing=$(kx90_missing "$@")
  [ -z "$missing" ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: $(echo $missing)"
  $sudo apt-get update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
}

# The panel draws its captions and display text with DejaVu fonts.
KX90_BUILD_PACKAGES="cmake ninja-build g++ qt6-base-dev qt6-serialport-dev fonts-dejavu-core"
KX90_TEST_PACKAGES="$KX90_BUILD_PACKAGES libgtest-dev"
