#!/usr/bin/env bash
# LVStudio /S under a virtual 1920x1080 display: the picture fills the screen, its water moves and its
# land stays still; a second /S ends at once; a key press ends the player.
# Usage: player_xvfb.sh STAGE_DIR   (runs itself again inside xvfb-run)
set -euo pipefail
stage="$1"
if [[ -z "${LV_INSIDE_XVFB:-}" ]]; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  export LUMIVALE_WINDIR="$work/settings" LV_WORK="$work" LV_INSIDE_XVFB=1 SDL_AUDIODRIVER=dummy
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$LUMIVALE_WINDIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  project="$stage/files/Sea Coast.lvp"
  "$stage/lvtool" catalog add "$project"
  "$stage/lvtool" config set RUN "$project"
  "$stage/lvtool" config set RANDOM 0
  "$stage/lvtool" config set PATH "$work/"
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi

fail() { echo "FAIL: $*" >&2; exit 1; }
"$stage/LVStudio" /S &
player=$!
for _ in $(seq 120); do
  xdotool search --name "Lumivale Player" >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 3 # the project loads and fits before the first frame
shot1="$LV_WORK/shot1.png" shot2="$LV_WORK/shot2.png"
import -window root "$shot1"
sleep 0.5
import -window root "$shot2"

# A second player ends at once, without a window of its own.
timeout 20 "$stage/LVStudio" /S || fail "the second player did not end by itself"
kill -0 "$player" 2>/dev/null || fail "the first player ended early"

# The sample (960x640) is fitted to 1620x1080 and centred: black bands left and right.
size="$(identify -format '%wx%h' "$shot1")"
[[ "$size" == 1920x1080 ]] || fail "screenshot is $size"
band="$(convert "$shot1" -crop 140x1080+0+0 -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)"
[[ "$band" == 0 ]] || fail "the left band is not black"
picture="$(convert "$shot1" -crop 1620x1080+150+0 -format '%[fx:mean]' info:)"
awk -v m="$picture" 'BEGIN { exit !(m > 0.05) }' || fail "the picture is missing (mean $picture)"
# Land (the sky above, the beach below) stays; water (the sea between) moves.
changed() { # pixels that differ between the two shots inside a crop
  convert "$shot1" -crop "$1" +repage "$LV_WORK/a.png"
  convert "$shot2" -crop "$1" +repage "$LV_WORK/b.png"
  compare -metric AE "$LV_WORK/a.png" "$LV_WORK/b.png" null: 2>&1 || true
}
land="$(( $(changed 1620x400+150+0) + $(changed 1620x200+150+880) ))"
water="$(changed 1620x300+150+450)"
echo "changed pixels: land $land, water $water"
[[ "$land" == 0 ]] || fail "land changed ($land pixels)"
awk -v w="$water" 'BEGIN { exit !(w > 1000) }' || fail "water did not move ($water pixels)"

xdotool search --name "Lumivale Player" windowactivate --sync 2>/dev/null || true
xdotool key x
for _ in $(seq 40); do
  kill -0 "$player" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$player" 2>/dev/null; then
  kill "$player"
  fail "a key press did not end the player"
fi
wait "$player" || fail "the player ended with status $?"
echo "player ok"
