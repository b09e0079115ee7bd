#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, builds Quirra, then starts it or runs the tests.
#   ./build.sh run [FILE...]   build and start the editor
#   ./build.sh test            build and run every test
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake ninja-build pkg-config git
          qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libgmock-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

case "${1:-run}" in
  run)
    shift || true
    exec build/app/quirra "$@"
    ;;
  test)
    cd build
    exec ctest --output-on-failure --timeout 600 -j "$(nproc)"
    ;;
  *)
    echo "usage: ./build.sh run [FILE...] | ./build.sh test" >&2
    exit 2
    ;;
esac
