#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine (nothing but bash and apt needed):
#   ./build.sh run    install what is missing, build, open the player on the demo recording
#   ./build.sh test   install what is missing, check formatting, build with the sanitizers and
#                     warnings as errors (benchmarks included), run every test
#   ./build.sh bench  build the benchmarks (Release) into build-bench/bin
#   ./build.sh package  build the Debian package (CPack, dependencies computed) into build-package/
#   ./build.sh fuzz   build the libFuzzer harnesses with clang and run each (PELIX_FUZZ_SECONDS, default 60)
#                     from its seed corpus; non-zero exit on a finding (scripts/run-fuzzers.sh)
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
  run)
    scripts/install-deps.sh
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    exec scripts/run-player.sh build/bin/PelixPlayer build/samples/DEMO.BIN
    ;;
  test)
    scripts/install-deps.sh
    # Formatting and warnings fail the run as a reviewer would; the benchmarks are compiled (not run)
    # so that their code is held to the same warnings.
    scripts/check-format.sh
    configure_and_build build-test -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DPELIX_SANITIZE=ON -DPELIX_WERROR=ON \
      -DPELIX_BENCHMARKS=ON
    cd build-test
    exec ctest --output-on-failure -j "$jobs"
    ;;
  bench)
    scripts/install-deps.sh
    configure_and_build build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELIX_BENCHMARKS=ON
    ;;
  package)
    scripts/install-deps.sh --package
    configure_and_build build-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELIX_BENCHMARKS=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr
    (cd build-package && cpack -G DEB >/dev/null)
    ls -1 build-package/*.deb
    ;;
  fuzz)
    scripts/install-deps.sh --fuzz
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPELIX_LIBFUZZER=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DPELIX_BENCHMARKS=OFF >/dev/null
    cmake --build build-fuzz -j "$jobs" --target fuzz_harnesses fuzz_corpus
    exec scripts/run-fuzzers.sh build-fuzz
    ;;
  *)
    echo "usage: ./build.sh run|test|bench|package|fuzz" >&2
    exit 2
    ;;
esac
