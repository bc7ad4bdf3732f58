#!/usr/bin/env bash
# Draws data/Splash.png (701 x 300), the picture shown while Zarndesk opens and closes.
# Needs ImageMagick (CONVERT names its convert program); run once and commit the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
font=$(fc-match -f '%{file}' 'DejaVu Sans:bold')
light=$(fc-match -f '%{file}' 'DejaVu Sans')
"${CONVERT:-convert}" -size 701x300 gradient:'#16324f'-'#0b1622' \
  -fill '#24486e' -draw 'rectangle 0,232 701,236' \
  -fill '#e8eef5' -stroke '#8fb3d9' -strokewidth 3 -draw 'roundrectangle 44,44 164,256 18,18' \
  -fill '#f6f6f2' -stroke '#c9c9c0' -strokewidth 2 -draw 'circle 104,84 104,58' \
  -fill '#1c2a38' -stroke none -draw 'roundrectangle 60,130 148,178 6,6' \
  -fill '#7fe0a0' -font "$font" -pointsize 18 -draw "text 67,161 '5.6 125'" \
  -fill '#3a5f86' -draw 'circle 80,214 80,202' -draw 'circle 128,214 128,202' \
  -fill '#ffffff' -font "$font" -pointsize 58 -draw "text 206,140 'Zarndesk'" \
  -fill '#a9c4e0' -font "$light" -pointsize 20 -draw "text 210,182 'Exposure profiles and meter settings'" \
  -fill '#6f8fae' -font "$light" -pointsize 14 -draw "text 210,270 'Kestrin'" \
  -strip PNG24:data/Splash.png
