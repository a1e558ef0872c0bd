#!/usr/bin/env bash
# Draws every picture the program uses and writes them beside this script.
#
# Needs ImageMagick 6 (`convert`) and the Liberation Sans / DejaVu Sans fonts.
# Everything is drawn from shapes, gradients and text, so the pictures can be
# regenerated at any time:   bash resources/make_pictures.sh
#
# Palette: calm blues with an orange accent.

set -euo pipefail

cd "$(dirname "$0")"

command -v convert >/dev/null || { echo "convert (ImageMagick) is required" >&2; exit 1; }

font_file() {
    # $1: fontconfig pattern, $2: fallback ImageMagick font name
    local f
    f=$(fc-match -f '%{file}' "$1" 2>/dev/null || true)
    if [[ -n "$f" && -f "$f" ]]; then echo "$f"; else echo "$2"; fi
}

SANS=$(font_file 'Liberation Sans' 'Liberation-Sans')
SANS_BOLD=$(font_file 'Liberation Sans:bold' 'Liberation-Sans-Bold')
DEJAVU_BOLD=$(font_file 'DejaVu Sans:bold' 'DejaVu-Sans-Bold')

# Colours
BLUE_LIGHT='#5B9BD5'
BLUE_DARK='#24598F'
BLUE_EDGE='#1A426B'
NAVY='#13263A'
FRAME='#A9CBEA'
HOLE='#EAF2FA'
ORANGE='#F39B32'
ORANGE_DARK='#C96F12'

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Pictures are written without metadata to keep them small and reproducible.
STRIP=(-strip -define png:exclude-chunks=date,time)

# ---------------------------------------------------------------------------
# Logo: a speech bubble carrying a strip of film and two subtitle lines.
# All coordinates are on a 128 x 128 grid; the master is drawn four times
# larger and scaled down, which gives clean edges at every size.
# ---------------------------------------------------------------------------

BUBBLE="path 'M 26,10 H 102 Q 120,10 120,28 V 78 Q 120,96 102,96 H 54 L 22,120 L 31,96 H 26 Q 8,96 8,78 V 28 Q 8,10 26,10 Z'"

# $1 = detail level (full | mid | tiny), $2 = output file (512 x 512, transparent)
draw_logo_master() {
    local level=$1 out=$2 body=""
    case $level in
    full)
        body="fill '$NAVY' rectangle 18,23 110,61"
        local x
        for x in 22 32 42 52 62 72 82 92 102; do
            body+=" fill '$HOLE' roundrectangle $x,26.5 $((x + 4)),30.5 1,1"
            body+=" fill '$HOLE' roundrectangle $x,53.5 $((x + 4)),57.5 1,1"
        done
        body+=" fill '$FRAME' rectangle 22,34 49,50"
        body+=" fill '$FRAME' rectangle 51,34 77,50"
        body+=" fill '$FRAME' rectangle 79,34 106,50"
        body+=" fill '$ORANGE' roundrectangle 26,68 102,76 4,4"
        body+=" fill '$ORANGE' roundrectangle 40,81 88,89 4,4"
        ;;
    mid)
        # sprocket holes sit on a 4-unit grid so they stay crisp at 32 px
        body="fill '$NAVY' rectangle 16,20 112,64"
        local x
        for x in 20 36 52 68 84 100; do
            body+=" fill '$HOLE' rectangle $x,24 $((x + 7)),29"
            body+=" fill '$HOLE' rectangle $x,56 $((x + 7)),61"
        done
        body+=" fill '$FRAME' rectangle 20,36 62,48"
        body+=" fill '$FRAME' rectangle 66,36 108,48"
        body+=" fill '$ORANGE' rectangle 24,72 104,80"
        body+=" fill '$ORANGE' rectangle 40,84 88,91"
        ;;
    tiny)
        body="fill '$NAVY' rectangle 16,24 112,56"
        body+=" fill '$FRAME' rectangle 24,32 56,48"
        body+=" fill '$FRAME' rectangle 72,32 104,48"
        body+=" fill '$ORANGE' rectangle 24,68 104,84"
        ;;
    esac

    local edge=3
    [[ $level == tiny ]] && edge=8
    [[ $level == mid ]] && edge=5

    convert -size 512x512 gradient:"$BLUE_LIGHT"-"$BLUE_DARK" \
        \( -size 512x512 xc:black -fill white -draw "scale 4,4 $BUBBLE" \) \
        -alpha off -compose CopyOpacity -composite -compose Over \
        -fill none -stroke "$BLUE_EDGE" -strokewidth "$edge" -draw "scale 4,4 $BUBBLE" \
        -stroke none -draw "scale 4,4 $body" \
        "$out"
}

draw_logo_master full "$TMP/logo-full.png"
draw_logo_master mid "$TMP/logo-mid.png"
draw_logo_master tiny "$TMP/logo-tiny.png"

logo_png() { # $1 master, $2 size, $3 output
    convert "$1" -filter Lanczos -resize "$2x$2" "${STRIP[@]}" "PNG32:$3"
}

logo_png "$TMP/logo-tiny.png" 16 icon-16.png
logo_png "$TMP/logo-mid.png" 32 icon-32.png
logo_png "$TMP/logo-full.png" 48 icon-48.png
logo_png "$TMP/logo-full.png" 128 icon-128.png
logo_png "$TMP/logo-full.png" 64 logo-64.png

# Windows icon: 32, 16, 128, 48, then 32 and 16 again.
convert icon-32.png icon-16.png icon-128.png icon-48.png icon-32.png icon-16.png obrel.ico

# ---------------------------------------------------------------------------
# panel.bmp: the backdrop behind the video panel.  A dark blue-grey gradient
# with a faint film strip running along the top and bottom.  Saved as an
# 8-bit run-length encoded BMP, which keeps the file small.
# ---------------------------------------------------------------------------

W=801 H=494
panel_strip() { # $1 = top y of a 34 px high strip
    local y=$1 d="" x
    d+="fill '#1C2530' rectangle 0,$y $W,$((y + 33))"
    for ((x = 6; x < W; x += 22)); do
        d+=" fill '#2A3644' roundrectangle $x,$((y + 5)) $((x + 10)),$((y + 11)) 2,2"
        d+=" fill '#2A3644' roundrectangle $x,$((y + 22)) $((x + 10)),$((y + 28)) 2,2"
    done
    echo "$d"
}
convert -size ${W}x${H} gradient:'#222C38'-'#0E1218' \
    -draw "$(panel_strip 14)" -draw "$(panel_strip $((H - 48)))" \
    +dither -colors 256 -type Palette -compress RLE "${STRIP[@]}" BMP3:panel.bmp

# ---------------------------------------------------------------------------
# Small button pictures share one soft, light face.
# ---------------------------------------------------------------------------

button_face() { # $1 = WxH, $2 = output
    convert -size "$1" gradient:'#FBFCFE'-'#E3E9F0' "$2"
}

# add-start.bmp / add-end.bmp: a clock, an arrow and a bracket.
button_face 44x26 "$TMP/face44.png"
CLOCK="stroke '$BLUE_EDGE' stroke-width 1.4 fill '#FFFFFF' circle 11,13 11,4.3
       stroke '$BLUE_EDGE' stroke-width 1.3 line 11,13 11,7.5 line 11,13 14.5,14.5
       stroke none fill '$BLUE_EDGE' circle 11,13 11,12"
ARROW="stroke '$ORANGE_DARK' stroke-width 2 line 22,13 28,13
       stroke none fill '$ORANGE_DARK' polygon 27,8.5 32.5,13 27,17.5"
convert "$TMP/face44.png" -draw "$CLOCK" -draw "$ARROW" \
    -draw "fill '$BLUE_DARK' rectangle 34,4 36,21 rectangle 34,4 40,5 rectangle 34,20 40,21" \
    -type TrueColor "${STRIP[@]}" BMP3:add-start.bmp
convert "$TMP/face44.png" -draw "$CLOCK" -draw "$ARROW" \
    -draw "fill '$BLUE_DARK' rectangle 38,4 40,21 rectangle 34,4 40,5 rectangle 34,20 40,21" \
    -type TrueColor "${STRIP[@]}" BMP3:add-end.bmp

# step-back.jpg / step-forward.jpg: two triangles pointing the same way.
button_face 35x30 "$TMP/face35.png"
STEP_BACK="stroke '$BLUE_EDGE' stroke-width 1 stroke-linejoin round fill '$BLUE_LIGHT'
           polygon 17,7.5 17,22.5 6.5,15
           polygon 28.5,7.5 28.5,22.5 18,15"
convert "$TMP/face35.png" -draw "$STEP_BACK" \
    -quality 92 -sampling-factor 1x1 "${STRIP[@]}" step-back.jpg
convert "$TMP/face35.png" -draw "$STEP_BACK" -flop \
    -quality 92 -sampling-factor 1x1 "${STRIP[@]}" step-forward.jpg

# ---------------------------------------------------------------------------
# logo-18.jpg: a white heart on a blue disc, shown beside the social link.
# Drawn at 8x and reduced.
# ---------------------------------------------------------------------------

convert -size 144x144 xc:white \
    -fill "$BLUE_DARK" -draw "circle 72,72 72,2" \
    -fill white -draw "circle 55,60 55,40 circle 89,60 89,40 polygon 37,67 107,67 72,106" \
    -filter Lanczos -resize 18x18 \
    -quality 92 -sampling-factor 1x1 "${STRIP[@]}" logo-18.jpg

# ---------------------------------------------------------------------------
# splash-close.jpg: an "x" on a rounded square, set on the splash colour it
# sits over.
# ---------------------------------------------------------------------------

SPLASH_TOP='#1D4772'
SPLASH_BOTTOM='#0F2740'
convert -size 160x160 xc:"$SPLASH_TOP" \
    -fill '#2F6599' -stroke '#8DB7E0' -strokewidth 6 -draw "roundrectangle 12,12 147,147 28,28" \
    -stroke white -strokewidth 16 -draw "line 52,52 108,108 line 108,52 52,108" \
    -filter Lanczos -resize 20x20 \
    -quality 92 -sampling-factor 1x1 "${STRIP[@]}" splash-close.jpg

# ---------------------------------------------------------------------------
# splash.jpg: logo, name, tag line and version on a deep blue gradient, with
# a film strip along the foot.  The top-right 25 x 25 corner stays plain for
# the close button.
# ---------------------------------------------------------------------------

SW=640 SH=520
splash_strip() { # $1 = top y of a 40 px high strip
    local y=$1 d="" x
    d+="fill '#0A1A2B' rectangle 0,$y $SW,$((y + 39))"
    for ((x = 8; x < SW; x += 24)); do
        d+=" fill '#24486E' roundrectangle $x,$((y + 5)) $((x + 12)),$((y + 12)) 2,2"
        d+=" fill '#24486E' roundrectangle $x,$((y + 27)) $((x + 12)),$((y + 34)) 2,2"
    done
    echo "$d"
}
convert "$TMP/logo-full.png" -filter Lanczos -resize 208x208 "$TMP/logo-208.png"
convert "$TMP/logo-208.png" -alpha extract -blur 0x8 -background black -alpha shape \
    -channel A -evaluate multiply 0.45 +channel "$TMP/shadow-208.png"

convert -size ${SW}x${SH} gradient:"$SPLASH_TOP"-"$SPLASH_BOTTOM" \
    -fill "$SPLASH_TOP" -draw "rectangle $((SW - 25)),0 $((SW - 1)),24" \
    \( -size 420x420 radial-gradient:'rgba(120,170,225,0.30)'-'rgba(120,170,225,0)' \) \
    -geometry +110-60 -composite \
    "$TMP/shadow-208.png" -geometry +220+44 -composite \
    "$TMP/logo-208.png" -geometry +216+36 -composite \
    -fill "$SPLASH_TOP" -draw "rectangle $((SW - 25)),0 $((SW - 1)),24" \
    -font "$SANS_BOLD" -pointsize 50 -fill white -gravity north -annotate +0+258 'Obrel Dizivud' \
    -font "$SANS" -pointsize 22 -fill '#B9D3EE' -annotate +0+326 'Create and edit subtitle files' \
    -font "$DEJAVU_BOLD" -pointsize 15 -fill "$ORANGE" -annotate +0+372 'Version 1.0.0' \
    -gravity northwest -draw "$(splash_strip $((SH - 64)))" \
    -quality 88 "${STRIP[@]}" splash.jpg

echo "Pictures written to $(pwd)"
