#!/usr/bin/env bash
# Installs what is needed, builds, makes the bundled sample projects, shows what is inside each and
# renders a short animation of each into build/release/demo/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
stage="$build/stage/lib/lumivale"
demo="$build/demo"
for project in "$stage"/files/*.lvp; do
  name="$(basename "$project" .lvp)"
  echo "== $name"
  "$stage/lvtool" info "$project"
  "$stage/lvtool" render "$project" --frames 30 --seed 1 --format png --output "$demo/${name// /_}"
done
echo "Rendered frames are in $demo"
