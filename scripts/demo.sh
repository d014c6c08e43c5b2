#!/usr/bin/env bash
# Installs what is needed, builds, makes the bundled sample projects and shows what is inside each.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
stage="$build/stage/lib/lumivale"
for project in "$stage"/files/*.lvp; do
  echo "== $(basename "$project")"
  "$stage/lvtool" info "$project"
done
