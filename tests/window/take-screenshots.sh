#!/usr/bin/env bash
# Saves docs/screenshots/{start,exercise-10,exercise-999,marked,results}.png from the built window tests,
# drawn on a virtual X display. Run from the repository root after building build/dev.
set -euo pipefail
cd "$(dirname "$0")/../.."
mkdir -p docs/screenshots
SUMATKO_SCREENSHOTS="$PWD/docs/screenshots" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  build/dev/tests/window_tests --gtest_also_run_disabled_tests \
  --gtest_filter='Screenshots.*'
