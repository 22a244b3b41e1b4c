#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the program's built-in pictures (ImageMagick from Debian). The results
# are committed and compiled in through resources.qrc; run this again only to
# change them.
set -euo pipefail
cd "$(dirname "$0")"
font=DejaVu-Sans-Bold
red='#5a0000'

# The program's icon: four images, 16 and 32 pixels in 16 colours, 32 and 48
# pixels in 256 colours, as palette bitmaps gathered into one .ico file.
mark() { # size colours output [format]
    local s=$1
    convert -size "${s}x${s}" xc:'#ffb0c8' -fill "$red" -stroke none \
        -draw "rectangle 1,1 $((s - 2)),$((s - 2))" \
        -fill '#ffff00' -font "$font" -pointsize $((s * 5 / 8)) \
        -gravity center -annotate +0+0 'R' -colors "$2" -type Palette -compress none \
        -define png:exclude-chunks=date,time "${4:-BMP3}:$3"
}
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mark 16 16 "$tmp/16.bmp"
mark 32 16 "$tmp/32-16.bmp"
mark 32 256 "$tmp/32-256.bmp"
mark 48 256 "$tmp/48.bmp"
python3 - "$tmp"/16.bmp "$tmp"/32-16.bmp "$tmp"/32-256.bmp "$tmp"/48.bmp <<'PY' >icons/rollcraft.ico
import struct, sys
entries = []
for path in sys.argv[1:]:
    bmp = open(path, "rb").read()
    offset = struct.unpack_from("<I", bmp, 10)[0]
    header_size = struct.unpack_from("<I", bmp, 14)[0]
    info = bytearray(bmp[14:14 + header_size])
    width, height = struct.unpack_from("<ii", info, 4)
    bits = struct.unpack_from("<H", info, 14)[0]
    # A full palette, as icon readers expect.
    palette = bmp[14 + header_size:offset].ljust(4 << bits, b"\0")
    struct.pack_into("<i", info, 8, height * 2)  # an icon counts its mask
    struct.pack_into("<II", info, 20, 0, 0)  # image size left to the reader
    struct.pack_into("<II", info, 32, 0, 0)  # colours used: all
    info += palette
    mask = bytes(((width + 31) // 32 * 4) * height)  # opaque everywhere
    entries.append((width, height, bits, bytes(info) + bmp[offset:] + mask))
out = struct.pack("<HHH", 0, 1, len(entries))
at = 6 + 16 * len(entries)
for width, height, bits, data in entries:
    colours = 1 << bits if bits < 8 else 0
    out += struct.pack("<BBBBHHII", width, height, colours, 0, 1, bits, len(data), at)
    at += len(data)
sys.stdout.buffer.write(out + b"".join(e[3] for e in entries))
PY

# The same mark as PNGs for the desktop's menu (installed as hicolor icons).
for s in 16 32 48 256; do
    mark "$s" 256 "icons/rollcraft2-$s.png" PNG8
done

# The same mark as a scalable icon for docks and menus at any size (the
# hicolor theme's scalable/apps): the frame as wide as the 48-pixel picture's,
# the letter's outline traced from the 256-pixel one.
cat >icons/rollcraft2.svg <<'SVG'
<?xml version="1.0" encoding="UTF-8"?>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect width="256" height="256" fill="#ffb0c8"/>
  <rect x="5.333" y="5.333" width="245.333" height="245.333" fill="#5a0000"/>
  <path fill="#ffff00" fill-rule="evenodd"
        d="M81 67H136C159 67 171 81 171 102C171 116 164 126 151 131L185 183H153L127 139H110V183H81Z
           M110 88V120H130C138 120 142 113 142 104C142 95 139 88 133 88Z"/>
</svg>
SVG

# The folder browser's picture, 32 x 32.
convert -size 32x32 xc:none -fill '#c89632' -stroke '#6e4b14' \
    -draw 'roundrectangle 2,6 14,12 2,2' -draw 'roundrectangle 2,9 29,27 2,2' \
    icons/folder.png

# The demo window's seven pictures, 159 pixels wide.
bar() { # output text colour
    convert -size 159x25 xc:"$red" -font "$font" -pointsize 14 -fill "$3" \
        -gravity center -annotate +0+0 "$2" "demo/$1.gif"
}
bar about_out 'ABOUT?' '#ffa0c0'
bar about_over 'ABOUT?' '#ffff00'
bar contact_out 'CONTACT' '#ffa0c0'
bar contact_over 'CONTACT' '#ffff00'
convert -size 159x100 xc:"$red" -font "$font" -pointsize 80 -fill '#ff2020' \
    -gravity center -annotate +0+0 '?' demo/about_description.gif
convert -size 159x100 xc:"$red" \
    \( -size 159x100 xc:none -stroke '#ffd060' -strokewidth 2 -fill none \
       -draw 'line 30,25 80,45 line 80,45 130,20 line 80,45 55,75 line 80,45 115,70 line 30,25 55,75' \
       -fill '#fff0a0' -stroke none \
       -draw 'circle 30,25 34,25 circle 80,45 85,45 circle 130,20 134,20 circle 55,75 59,75 circle 115,70 119,70' \
       \( +clone -blur 0x4 \) -compose screen -composite \) -compose over -composite \
    -font "$font" -pointsize 9 -fill '#ffd060' -gravity south -annotate +0+4 'CONNECTION' \
    demo/contact_description.gif
convert -size 159x100 xc:"$red" demo/default_description.gif
