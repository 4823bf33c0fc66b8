# Sourced by run.sh and test.sh: installs the Debian packages the project needs
# when they are missing, then configures and builds into build/.

TABULIFT_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev mdbtools-dev libcli11-dev fonts-liberation2 qt6-translations-l10n
  libgtest-dev libgmock-dev xz-utils
  dpkg-dev file desktop-file-utils man-db locales
)

ensure_packages() {
  local missing=()
  for package in "${TABULIFT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

build_project() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build build
}
