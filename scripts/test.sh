#!/usr/bin/env bash
# Runs the whole test suite (Qt Test programs under CTest, screens offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
ctest --test-dir build --output-on-failure -j2
