#!/usr/bin/env bash
# Installs what is missing, builds, and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
vrin_install_packages
vrin_build build
exec build/tools/vrin-bench/vrin-bench "$@"
