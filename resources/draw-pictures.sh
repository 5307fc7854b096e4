#!/bin/sh
# Redraws the program's pictures with ImageMagick (convert) and the DejaVu
# fonts. Run it from anywhere; it writes the PNGs beside itself.
set -eu
cd "$(dirname "$0")"

SANS=DejaVu-Sans
SANS_BOLD=DejaVu-Sans-Bold
SANS_CONDENSED=DejaVu-Sans-Condensed
SERIF_BOLD=DejaVu-Serif-Bold

# Window and notification-area icon: a red book with a gold "Ա" on its cover.
convert -size 32x32 xc:none \
    -fill '#f3ead2' -stroke '#6b5a3a' -strokewidth 1 -draw 'roundrectangle 6,3 29,29 2,2' \
    -stroke '#c9bb98' -draw 'line 8,26 28,26' -draw 'line 8,24 28,24' \
    -fill '#a3202c' -stroke '#5e0f16' -draw 'roundrectangle 2,1 26,27 3,3' \
    -fill '#7d1620' -stroke none -draw 'rectangle 3,2 6,26' \
    -fill '#f2c94c' -font "$SANS_BOLD" -pointsize 20 -gravity center \
    -annotate +2-1 'Ա' \
    PNG32:icon.png

# Toolbar: quit (a door and an arrow leaving through it).
convert -size 22x22 xc:none \
    -fill '#8a5a2b' -stroke '#4e3116' -strokewidth 1 -draw 'rectangle 2,1 12,20' \
    -fill '#b07a3f' -stroke none -draw 'rectangle 4,3 10,18' \
    -fill '#f2c94c' -draw 'circle 9,11 10,11' \
    -stroke '#1f7a2e' -strokewidth 3 -draw 'line 11,11 17,11' \
    -fill '#2ea043' -stroke '#1f7a2e' -strokewidth 1 -draw 'polygon 16,6 21,11 16,16' \
    PNG32:tb-quit.png

# Toolbar: delete (a red cross).
convert -size 22x22 xc:none \
    -stroke '#7a0d0d' -strokewidth 6 \
    -draw 'stroke-linecap round line 5,5 16,16 line 16,5 5,16' \
    -stroke '#e03131' -strokewidth 4 \
    -draw 'stroke-linecap round line 5,5 16,16 line 16,5 5,16' \
    PNG32:tb-delete.png

# Toolbar: add (a green plus).
convert -size 22x22 xc:none \
    -fill '#1f7a2e' -stroke none \
    -draw 'roundrectangle 8,2 13,19 1,1' -draw 'roundrectangle 2,8 19,13 1,1' \
    -fill '#40c057' \
    -draw 'rectangle 9,3 12,18' -draw 'rectangle 3,9 18,12' \
    PNG32:tb-add.png

# Toolbar: properties (a font "A" beside a palette of three colours).
convert -size 22x22 xc:none \
    -fill '#1c3f7a' -font "$SERIF_BOLD" -pointsize 18 -gravity northwest \
    -annotate +0-2 'A' \
    -fill '#f3ead2' -stroke '#6b5a3a' -strokewidth 1 -draw 'ellipse 15,16 6,5 0,360' \
    -stroke none -fill '#e03131' -draw 'circle 12,15 13,15' \
    -fill '#2ea043' -draw 'circle 15,13 16,13' \
    -fill '#1971c2' -draw 'circle 18,15 19,15' \
    -fill '#f2c94c' -draw 'circle 15,18 16,18' \
    PNG32:tb-properties.png

# Toolbar: help (a white question mark in a blue disc).
convert -size 22x22 xc:none \
    -fill '#1971c2' -stroke '#0b3d73' -strokewidth 1 -draw 'circle 10.5,10.5 10.5,1' \
    -fill white -stroke none -font "$SANS_BOLD" -pointsize 15 -gravity center \
    -annotate +0+0 '?' \
    PNG32:tb-help.png

# Tabs: a card with the source letter at the top left, the Armenian letter at
# the bottom right and an arrow leading from the one to the other.
tab() { # file letter colour
    convert -size 43x43 xc:none \
        -fill '#fbf7ec' -stroke '#8c7b57' -strokewidth 1 -draw 'roundrectangle 1,1 41,41 6,6' \
        -fill "$3" -stroke none -font "$SANS_BOLD" -pointsize 20 -gravity northwest \
        -annotate +4+1 "$2" \
        -fill '#c2410c' -gravity southeast -annotate +5+2 'Ա' \
        -stroke '#6b5a3a' -strokewidth 2 -fill none -draw 'polyline 21,9 33,9 33,16' \
        -fill '#6b5a3a' -stroke none -draw 'polygon 28,15 38,15 33,21' \
        PNG32:"$1"
}
tab tab-en-hy.png A '#1c3f7a'
tab tab-ru-hy.png Я '#1f7a2e'

# Copy button: two overlapping pages with lines of text.
convert -size 24x23 xc:none \
    -fill white -stroke '#55606e' -strokewidth 1 -draw 'rectangle 1,1 14,16' \
    -stroke '#9aa5b1' -draw 'line 3,4 12,4' -draw 'line 3,7 12,7' -draw 'line 3,10 10,10' \
    -fill white -stroke '#2b5797' -draw 'rectangle 8,6 22,21' \
    -stroke '#6d8fc7' -draw 'line 10,9 20,9' -draw 'line 10,12 20,12' \
    -draw 'line 10,15 20,15' -draw 'line 10,18 17,18' \
    PNG32:copy.png

# Splash skin: a standing hardcover book with a bookmark ribbon, on pure
# magenta. The top-left pixel is the key colour; every pixel of exactly that
# colour is cut away from the window, so the outline is drawn without
# antialiasing (no pinkish edge) and nothing on the book is pure magenta.
convert -size 208x221 xc:'#ff00ff' +antialias \
    -fill '#efe4c8' -stroke none -draw 'roundrectangle 18,10 203,205 8,8' \
    -fill '#d9cba6' -draw 'rectangle 190,18 203,196' -draw 'rectangle 26,196 194,205' \
    -fill '#1f3a68' -draw 'roundrectangle 4,3 193,199 12,12' \
    -fill '#162b4f' -draw 'rectangle 4,15 24,187' -draw 'roundrectangle 4,3 24,199 10,10' \
    -fill '#b22234' -draw 'polygon 150,196 168,196 168,220 159,210 150,220' \
    -antialias \
    -fill none -stroke '#d4af37' -strokewidth 2 -draw 'roundrectangle 34,14 183,188 6,6' \
    -strokewidth 1 -draw 'line 17,12 17,190' -draw 'line 11,12 11,190' \
    -stroke none -fill '#f2d06b' -gravity north \
    -font "$SERIF_BOLD" -pointsize 30 -annotate +6+52 'Tavelin' \
    -fill '#f3ead2' -font "$SANS" -pointsize 20 -annotate +7+100 'Բառարան' \
    -fill '#d4af37' -draw 'line 70,136 148,136' \
    -fill '#c9d4e8' -font "$SANS_CONDENSED" -pointsize 10 \
    -annotate +6+150 'English · Russian · Armenian' \
    -alpha off -type TrueColor PNG24:splash.png

# The icon the desktop shows for the installed program (menus, launchers):
# drawn as SVG in share/icons, rendered at the sizes of the hicolor theme.
for size in 16 32 48 64 128 256; do
    mkdir -p "../share/icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" ../share/icons/org.example.Tavelin.svg \
        -o "../share/icons/${size}x${size}/org.example.Tavelin.png"
done
