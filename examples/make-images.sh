#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the example menu's pictures into images/ (ImageMagick). The results
# are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")/images"
font=DejaVu-Sans-Bold
bar() { # name text colour
    convert -size 159x25 xc:'#5a0000' -font "$font" -pointsize 13 -fill "$3" \
        -gravity center -annotate +0+0 "$2" "$1.gif"
}
panel() { # name text
    convert -size 159x100 xc:'#5a0000' -font "$font" -pointsize 12 -fill '#ffb0b0' \
        -gravity center -annotate +0+0 "$2" "$1.gif"
}
for item in home:HOME news:NEWS contact:CONTACT; do
    name=${item%%:*} text=${item#*:}
    bar "$name" "$text" '#ffb0c8'
    bar "${name}_over" "$text" '#ffff00'
done
panel home_info 'Back to the start'
panel news_info 'What is new'
panel contact_info 'Write to us'
panel default ''
