#!/usr/bin/env bash
# Draws the programs' icons (resource 128 of each), 256 x 256 with transparent corners:
# data/Zarndesk.png, the hand-held meter of the splash picture on the programs' dark blue, and
# data/Zarnflash.png, the same meter with the amber arrow of a firmware download.
# Needs ImageMagick (CONVERT names its convert program); run once and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

# The tile and the meter (body, light dome, display with a reading, two buttons), the meter moved
# left by $1 pixels.
draw_meter() {
  local x=$((128 - $1))
  drawing=(-size 256x256 xc:none
    -fill '#16324f' -stroke '#0b1622' -strokewidth 4 -draw 'roundrectangle 6,6 250,250 44,44'
    -fill '#24486e' -stroke none -draw 'rectangle 10,204 246,210'
    -fill '#e8eef5' -stroke '#8fb3d9' -strokewidth 6 -draw "roundrectangle $((x - 48)),34 $((x + 48)),226 18,18"
    -fill '#f6f6f2' -stroke '#c9c9c0' -strokewidth 4 -draw "circle $x,76 $x,50"
    -fill '#1c2a38' -stroke none -draw "roundrectangle $((x - 34)),118 $((x + 34)),158 6,6"
    -fill '#7fe0a0' -draw "rectangle $((x - 26)),134 $((x + 26)),142"
    -fill '#3a5f86' -draw "circle $((x - 20)),196 $((x - 20)),184" -draw "circle $((x + 20)),196 $((x + 20)),184")
}

draw_meter 0
"${CONVERT:-convert}" "${drawing[@]}" -strip PNG32:data/Zarndesk.png
draw_meter 38
"${CONVERT:-convert}" "${drawing[@]}" \
  -fill '#f0b030' -stroke '#8a5a10' -strokewidth 4 \
  -draw 'polygon 180,40 222,40 222,118 242,118 201,176 160,118 180,118' \
  -strip PNG32:data/Zarnflash.png
