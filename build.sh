#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, builds Quirra, then starts it or runs the tests.
#   ./build.sh run [FILE...]   build and start the editor
#   ./build.sh test            build and run every test: the suite (with the real-desktop tests
#                              on an X server of their own), the Debian package checked by
#                              lintian, the suite again under
#                              AddressSanitizer and UndefinedBehaviorSanitizer, and each
#                              fuzzer for 60 seconds on a copy of its corpus
#   ./build.sh bench           build and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake ninja-build pkg-config git
          qt6-base-dev libgl-dev libx11-dev libgtest-dev libgmock-dev)
case "${1:-run}" in
  test) packages+=(clang clang-format-14 libclang-rt-14-dev xvfb xauth openbox xdotool x11-utils
                   librsvg2-bin poppler-utils appstream desktop-file-utils lintian man-db) ;;
  bench) packages+=(librsvg2-bin) ;;
esac

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
    (cd build && ctest --output-on-failure --timeout 600 -j "$(nproc)")

    echo "== The Debian package"
    tests/package/check.sh build

    echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIRRA_SANITIZE=ON -DQUIRRA_BUILD_BENCH=OFF
    cmake --build build-sanitize
    (cd build-sanitize && ctest --output-on-failure --timeout 900 -j "$(nproc)")

    echo "== The fuzzers, 60 seconds each"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRRA_FUZZ=ON \
      -DQUIRRA_BUILD_TESTS=OFF -DQUIRRA_BUILD_BENCH=OFF
    cmake --build build-fuzz --target qrf_fuzzer json_fuzzer paint_fuzzer
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    for fuzzer in qrf json paint; do
      mkdir "$work/$fuzzer"
      cp fuzz/corpus/"$fuzzer"/* "$work/$fuzzer"/
      QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/${fuzzer}_fuzzer -max_total_time=60 -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$work/$fuzzer-" "$work/$fuzzer"
    done
    ;;
  bench)
    build/bench/file_bench
    QT_QPA_PLATFORM=offscreen build/bench/paint_bench
    QT_QPA_PLATFORM=offscreen build/bench/interaction_bench
    build/bench/undo_bench
    build/bench/recovery_bench
    ;;
  *)
    echo "usage: ./build.sh run [FILE...] | ./build.sh test | ./build.sh bench" >&2
    exit 2
    ;;
esac
