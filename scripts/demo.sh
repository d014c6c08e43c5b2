#!/usr/bin/env bash
# Installs what is needed, builds, shows what is inside each bundled sample project, renders a few
# frames of each, and plays them full screen with LVStudio /S from a private settings folder
# (any key or mouse move ends the show).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
stage="$build/stage/lib/lumivale"
frames="$build/demo-frames"
for project in "$stage"/files/*.lvp; do
  name="$(basename "$project" .lvp)"
  echo "== $name"
  "$stage/lvtool" info "$project"
  "$stage/lvtool" render "$project" --frames 30 --seed 1 --format png --output "$frames/${name// /_}"
done
echo "== 30 frames of each sample are in $frames"

# A settings folder of the demo's own, so that the user's Lumivale.ini stays as it is.
demo="$(mktemp -d "${TMPDIR:-/tmp}/lumivale-demo.XXXXXX")"
trap 'rm -rf "$demo"' EXIT
export LUMIVALE_WINDIR="$demo"
for project in "$stage"/files/*.lvp; do
  "$stage/lvtool" catalog add "$project"
done
"$stage/lvtool" config set DURATION 12
"$stage/lvtool" config set ZOOMDURATION 1
"$stage/lvtool" config set PATH "$stage/"
echo "== catalog in $demo/Lumivale.ini"
"$stage/lvtool" catalog list

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set): not starting the full-screen player."
  echo "On a desktop, run: LUMIVALE_WINDIR=<folder> $stage/LVStudio /S"
  exit 0
fi
echo "== LVStudio /S: projects change every 12 seconds; F1 shows the keys; any other key or a mouse move ends it"
"$stage/LVStudio" /S
