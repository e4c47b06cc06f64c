#!/usr/bin/env bash
# Installs what is missing, builds and runs every test in two configurations:
#   build-core: the toolkit-free core alone (no Qt), warnings as errors;
#   build-asan: everything with address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

# The code as .clang-format formats it, and every #include pointing down the layers.
scripts/check-format.sh
scripts/check-layers.sh

cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUARRANT_CORE_ONLY=ON -DQUARRANT_WERROR=ON
cmake --build build-core -j "$jobs"
ctest --test-dir build-core --output-on-failure --timeout 600 -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DQUARRANT_SANITIZE=ON -DQUARRANT_WERROR=ON -DQUARRANT_BENCH=OFF
cmake --build build-asan -j "$jobs"
export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: the sanitizer runtime of GCC 12 sometimes takes a dynamic TLS block
# of a newer glibc for the old layout and its leak checker then crashes at exit, though
# nothing leaked (a matter of where the block happens to lie).
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --timeout 900 -j "$jobs"
