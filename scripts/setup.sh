#!/usr/bin/env bash
# Installs what the build needs (Debian 12), then configures and builds
# Orvane into build/. Used by run-orvane and run-tests.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-packages.sh

# libqt6svg6 draws the window's SVG icon; desktop-file-utils checks the
# installed desktop entry in the install test.
ensure_packages cmake g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev \
  nlohmann-json3-dev zlib1g-dev libxcb1-dev libqt6svg6 desktop-file-utils libstb-dev

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
