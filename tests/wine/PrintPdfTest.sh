#!/usr/bin/env bash
# Prints generated test photos through the print jobs (kirune_print_probe,
# under Wine) on the PDF printers of the test scheduler at 300 and 600 dpi,
# and checks each PDF as the spooler wrote it: its title and page count, the
# L-size area in device pixels (the one image of the page, placed at the
# top-left of the printable area) and which part of the photo it shows.
#   PrintPdfTest.sh ARCH PATH-TO-kirune_print_probe.exe
# Needs the environment of scripts/test: CUPS_SERVER, KIRUNE_PDF_DIR,
# KIRUNE_PRINTER and the Wine prefix.
set -uo pipefail

arch=$1 probe_exe=$2
here=$(cd "$(dirname "$0")" && pwd)
wine_exec=$here/../../scripts/wine-exec
work=$(mktemp -d "${TMPDIR:-/tmp}/kirune-print.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
scenario=
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL [$scenario]: $*" >&2; }
expect_eq() {   # WHAT WANT GOT
    if [ "$2" == "$3" ]; then pass; else fail "$1: want '$2', got '$3'"; fi
}

# ------------------------------------------------------------ test photos

# Solid colours, named once; the photos use only these.
declare -A rgb=(
    [red]="255 0 0" [lime]="0 255 0" [blue]="0 0 255" [yellow]="255 255 0"
    [magenta]="255 0 255" [cyan]="0 255 255" [white]="255 255 255"
)
hex() { local r g b; read -r r g b <<<"${rgb[$1]}"; printf '#%02X%02X%02X' "$r" "$g" "$b"; }

# A photo of W x H in four quadrants split at (SX, SY): top-left red,
# top-right lime, bottom-left blue, bottom-right yellow; then the
# rectangles given as "COLOUR x0,y0 x1,y1" (inclusive) drawn over it.
make_photo() {   # FILE W H SX SY [RECT...]
    local file=$1 w=$2 h=$3 sx=$4 sy=$5
    shift 5
    local args=(-size "${w}x${h}" "xc:$(hex red)"
        -fill "$(hex lime)" -draw "rectangle $sx,0 $((w - 1)),$((sy - 1))"
        -fill "$(hex blue)" -draw "rectangle 0,$sy $((sx - 1)),$((h - 1))"
        -fill "$(hex yellow)" -draw "rectangle $sx,$sy $((w - 1)),$((h - 1))")
    local r colour from to
    for r in "$@"; do
        read -r colour from to <<<"$r"
        args+=(-fill "$(hex "$colour")" -draw "rectangle $from $to")
    done
    # True colour; palette_copy makes the low-depth copies.
    case $file in
        *.png) convert "${args[@]}" -type TrueColor "PNG24:$file" ;;
        *.bmp) convert "${args[@]}" -type TrueColor "BMP3:$file" ;;
        *.jpg) convert "${args[@]}" -quality 95 "$file" ;;
    esac
}

# The same pixels stored with a palette of DEPTH bits per pixel: a PNG, a
# GIF (always 8) or a BMP. The photo must have no more colours than fit.
# ImageMagick writes no 1-bit palette PNG of two colours: palette-png.py does.
palette_copy() {   # TRUE-COLOUR-FILE FILE DEPTH
    local size
    case $2 in
        *.png) read -r -a size <<<"$(identify -format '%w %h' "$1")"
               convert "$1" -depth 8 rgb:- | python3 "$here/palette-png.py" "${size[@]}" "$3" "$2" ;;
        *.gif) convert "$1" "$2" ;;
        *.bmp) convert "$1" -type Palette -depth "$3" "BMP3:$2" ;;
    esac
}

# ------------------------------------------------------------ printing

# Prints through the probe and leaves in PDF the document the spooler wrote,
# in PAGE_W x PAGE_H the L-size area expected, and in OFFSET_X/Y the
# printable area's offset on the paper.
PDF='' PAGE_W='' PAGE_H='' OFFSET_X='' OFFSET_Y=''
print_photo() {   # PRINTER DPI all|range PHOTO [LEFT TOP RIGHT BOTTOM]
    local printer=$1 dpi=$2
    local dir=$KIRUNE_PDF_DIR/$printer
    rm -f "$dir"/*.pdf
    PDF=
    local out
    if ! out=$("$wine_exec" "$arch" "$probe_exe" "$@" 2>"$work/probe.err"); then
        fail "the probe failed: $(cat "$work/probe.err")"
        return 1
    fi
    # "dpi X Y offset X Y", with the console's line ends
    read -r _ dpi_x dpi_y _ OFFSET_X OFFSET_Y <<<"${out//$'\r'/}"
    expect_eq "device resolution" "$dpi $dpi" "$dpi_x $dpi_y"
    case $dpi in
        300) PAGE_W=1051 PAGE_H=1500 ;;
        600) PAGE_W=2102 PAGE_H=3000 ;;
    esac
    # cups-pdf writes the file shortly after the job has left the spooler.
    local i file
    for i in $(seq 1 300); do
        file=$(find "$dir" -maxdepth 1 -name '*.pdf' -print -quit 2>/dev/null)
        if [ -n "$file" ] && [ -z "$(lpstat -o "$printer" 2>/dev/null)" ] && pdfinfo "$file" >/dev/null 2>&1; then
            PDF=$file
            break
        fi
        sleep 0.1
    done
    if [ -z "$PDF" ]; then
        fail "no PDF from $printer"
        return 1
    fi
    local count
    count=$(find "$dir" -maxdepth 1 -name '*.pdf' | wc -l)
    expect_eq "documents printed" 1 "$count"
}

pdf_field() { pdfinfo "$PDF" | sed -n "s/^$1: *//p"; }

# One document "Print" of one page.
check_document() {
    expect_eq "document title" "Print" "$(pdf_field Title)"
    expect_eq "pages" 1 "$(pdf_field Pages)"
}

# The page holds one image: the L-size area in device pixels, drawn 1:1.
check_area() {   # DPI
    local lines
    lines=$(pdfimages -list "$PDF" | tail -n +3)
    expect_eq "images on the page" 1 "$(grep -c . <<<"$lines")"
    # page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
    read -r _ _ _ w h _ _ _ _ _ _ _ xppi yppi _ <<<"$(head -n1 <<<"$lines")"
    expect_eq "L-size area in device pixels" "${PAGE_W}x${PAGE_H}" "${w:-}x${h:-}"
    expect_eq "image scale (pixels per inch)" "$1x$1" "${xppi:-}x${yppi:-}"
    # Where the page puts it: at the top-left of the printable area, nothing
    # beyond its right and bottom edges (one pixel of slack for the
    # half-pixel placement of the rendering).
    pdftoppm -r "$1" -singlefile -x 0 -y 0 -W $((OFFSET_X + PAGE_W + 8)) -H $((OFFSET_Y + PAGE_H + 8)) \
        "$PDF" "$work/page"
    local x0=$((OFFSET_X + 1)) y0=$((OFFSET_Y + 1))
    local x1=$((OFFSET_X + PAGE_W - 2)) y1=$((OFFSET_Y + PAGE_H - 2))
    local xo=$((OFFSET_X + PAGE_W + 1)) yo=$((OFFSET_Y + PAGE_H + 1))
    local got
    got=$(colours "$work/page.ppm" "$x0,$y0" "$x1,$y0" "$x0,$y1" "$x1,$y1" "$xo,$y0" "$x0,$yo" "$xo,$yo")
    local corners
    read -r -a corners <<<"$got"
    local c
    for c in "${corners[@]:0:4}"; do
        if [ "$c" != white ]; then pass; else fail "the L-size area has a white corner: $got"; fi
    done
    expect_eq "outside the L-size area" "white white white" "${corners[*]:4:3}"
    expect_eq "points read" 7 "${#corners[@]}"
    # The area as the page shows it, not as the image stream stores it: a
    # stream may hold its rows bottom up under a matrix that turns them
    # back (Wine 10's print driver sends its images so).
    convert "$work/page.ppm" -crop "${PAGE_W}x${PAGE_H}+${OFFSET_X}+${OFFSET_Y}" +repage "$work/area.png"
}

near() { local d=$(($1 - $2)); [ "${d#-}" -le 40 ]; }

# Names of the colours at the points "x,y" of an image: a colour of the
# palette when every channel is within 40 of it, else blend(r,g,b).
colours() {   # IMAGE POINT...
    local image=$1
    shift
    local fmt='' p
    for p in "$@"; do
        fmt+="%[fx:int(255*p{$p}.r+0.5)] %[fx:int(255*p{$p}.g+0.5)] %[fx:int(255*p{$p}.b+0.5)]\n"
    done
    local r g b name n pr pg pb names=()
    while read -r r g b; do
        name="blend($r,$g,$b)"
        for n in "${!rgb[@]}"; do
            read -r pr pg pb <<<"${rgb[$n]}"
            if near "$r" "$pr" && near "$g" "$pg" && near "$b" "$pb"; then
                name=$n
                break
            fi
        done
        names+=("$name")
    done < <(convert "$image" -format "$fmt" info:)
    echo "${names[*]}"
}

# Checks the colours of the printed L-size area at device pixels:
# "x,y=colour" with x and y counted from the area's top-left corner;
# W and H stand for the area's width and height.
expect_area() {   # POINT=COLOUR...
    local points=() want=() spec p x y
    for spec in "$@"; do
        p=${spec%%=*}
        x=${p%%,*}
        y=${p#*,}
        x=$(( ${x//W/PAGE_W} ))
        y=$(( ${y//H/PAGE_H} ))
        points+=("$x,$y")
        want+=("${spec#*=}")
    done
    local got
    read -r -a got <<<"$(colours "$work/area.png" "${points[@]}")"
    local i
    for i in "${!points[@]}"; do
        expect_eq "colour at device pixel ${points[$i]} (${*:$((i + 1)):1})" "${want[$i]}" "${got[$i]:-none}"
    done
}

# ------------------------------------------------------------ scenarios

p300=${KIRUNE_PRINTER}300
p600=${KIRUNE_PRINTER}600

# A landscape photo, 1600 x 1200, quadrants split at (800, 600). Printed,
# it is turned clockwise to 1200 x 1600 and cut to 1121 x 1600 from its
# top-left: the top 79 rows of the stored photo (magenta) are not printed,
# the 10 rows below them (cyan) are the printed area's right edge. A copy
# has a Japanese name with a space, which reaches the imaging library
# through the ANSI code page.
make_photo "$work/landscape.png" 1600 1200 800 600 "magenta 0,0 1599,78" "cyan 0,79 1599,88"
cp "$work/landscape.png" "$work/写真 コピー.png"
make_photo "$work/landscape.jpg" 1600 1200 800 600 "magenta 0,0 1599,78" "cyan 0,79 1599,88"

check_landscape() {   # DPI
    check_document
    check_area "$1"
    # Turned clockwise: the stored bottom-left corner is at the top-left,
    # the stored top-left at the top-right, the stored bottom-right at the
    # bottom-left. The cyan rows end the area on the right: the magenta rows
    # beyond them are cut, not squeezed in.
    expect_area "3,3=blue" "W-40,3=red" "3,H-4=yellow" "W-40,H-4=lime" \
        "W-4,20=cyan" "W-4,H/2=cyan" "W-4,H-20=cyan" "W-6,H/3=cyan"
    # The quadrant borders: stored row 600 is turned column 600, stored
    # column 800 turned row 800, both scaled onto the area.
    local bx=$((600 * PAGE_W / 1121)) by=$((800 * PAGE_H / 1600))
    expect_area "$((bx - 6)),100=blue" "$((bx + 6)),100=red" "100,$((by - 6))=blue" "100,$((by + 6))=yellow"
}

# The printed area, kept to compare later prints of the same pixels with.
keep_area() { cp "$work/area.png" "$work/kept-$1.png"; }
expect_same_area() {   # KEPT
    local differing
    differing=$(compare -metric AE "$work/kept-$1.png" "$work/area.png" null: 2>&1)
    expect_eq "device pixels that differ from the print of $1" 0 "$differing"
}

scenario="landscape photo, print all, 300 dpi"
print_photo "$p300" 300 all "$work/landscape.png" && check_landscape 300 && keep_area landscape

# The imaging library cannot turn every pixel format in place (Wine's turns
# nothing below 8 bits per pixel); the same photo stored with a palette must
# print exactly as in true colour.
palette_copy "$work/landscape.png" "$work/landscape-4bit.png" 4
palette_copy "$work/landscape.png" "$work/landscape-8bit.gif" 8
for photo in landscape-4bit.png landscape-8bit.gif; do
    scenario="landscape photo $photo, print all, 300 dpi"
    print_photo "$p300" 300 all "$work/$photo" && check_landscape 300 && expect_same_area landscape
done
# Two colours, for 1 bit per pixel: the left half blue, the right yellow;
# the top 79 rows (yellow) are cut, the 10 below them (blue) end the area.
make_photo "$work/two.png" 1600 1200 800 600 "blue 0,0 799,599" "yellow 800,0 1599,599" \
    "yellow 0,0 1599,78" "blue 0,79 1599,88"
palette_copy "$work/two.png" "$work/two-1bit.png" 1
palette_copy "$work/two.png" "$work/two-1bit.bmp" 1
scenario="two-colour landscape photo, print all, 300 dpi"
if print_photo "$p300" 300 all "$work/two.png"; then
    check_area 300
    expect_area "3,3=blue" "3,H-4=yellow" "W-20,H-20=yellow" "W-4,20=blue" "W-4,H-20=blue"
    keep_area two
fi
for photo in two-1bit.png two-1bit.bmp; do
    scenario="landscape photo $photo, print all, 300 dpi"
    print_photo "$p300" 300 all "$work/$photo" && check_document && check_area 300 && expect_same_area two
done
scenario="landscape photo, print all, 600 dpi"
print_photo "$p600" 600 all "$work/写真 コピー.png" && check_landscape 600
scenario="landscape JPEG photo, print all, 300 dpi"
print_photo "$p300" 300 all "$work/landscape.jpg" && check_landscape 300

# A tall photo, 1000 x 2000 (BMP), quadrants split at (500, 1000): not
# turned; 1000 x 1427 from the top-left fills the area, so the rows from
# 1427 down (magenta) are cut and the 10 rows above them (cyan) end the area.
make_photo "$work/tall.bmp" 1000 2000 500 1000 "magenta 0,1427 999,1999" "cyan 0,1417 999,1426"
scenario="tall photo, print all, 600 dpi"
if print_photo "$p600" 600 all "$work/tall.bmp"; then
    check_document
    check_area 600
    expect_area "3,3=red" "W-4,3=lime" "3,H-30=blue" "W-4,H-30=yellow" "20,H-4=cyan" "W/2,H-4=cyan" "W-20,H-4=cyan"
fi

# A square photo, 1200 x 1200: not turned; 840 x 1200 from the top-left
# fills the area, the columns from 840 on (magenta) are cut.
make_photo "$work/square.png" 1200 1200 420 600 "magenta 840,0 1199,1199" "cyan 830,0 839,1199"
scenario="square photo, print all, 300 dpi"
if print_photo "$p300" 300 all "$work/square.png"; then
    check_document
    check_area 300
    expect_area "3,3=red" "W-30,3=lime" "3,H-4=blue" "W-30,H-4=yellow" "W-4,20=cyan" "W-4,H/2=cyan" "W-4,H-20=cyan"
fi

# The imaging library's smoothing may mix up to one photo pixel from beyond
# the range's right and bottom edges into the last device pixels there
# (several at 600 dpi, where one photo pixel spans almost five): the range
# checks keep 8 device pixels away from those edges.

# A print range on a landscape photo as a drag leaves it: (400, 300) to
# (1035, 745), 635 x 445, in the 127:89 proportions. The photo is magenta
# outside the range; inside, quadrants split at (717, 522). The range is
# wider than tall, so it is printed turned: its top-left (red) at the
# area's top-right.
make_photo "$work/range.png" 1600 1200 717 522 \
    "magenta 0,0 1599,299" "magenta 0,745 1599,1199" "magenta 0,0 399,1199" "magenta 1035,0 1599,1199"

check_turned_range() {   # DPI
    check_document
    check_area "$1"
    expect_area "3,3=blue" "W-8,3=red" "3,H-8=yellow" "W-8,H-8=lime" \
        "3,H/4=blue" "W-8,H/4=red" "W/4,3=blue" "W/4,H-8=yellow" "3*W/4,H-8=lime"
    # Stored row 522 and column 717 of the photo are, in the turned
    # range, column 745 - 522 = 223 of 445 and row 717 - 400 = 317 of 635.
    local bx=$((223 * PAGE_W / 445)) by=$((317 * PAGE_H / 635))
    expect_area "$((bx - 6)),100=blue" "$((bx + 6)),100=red" "100,$((by - 6))=blue" "100,$((by + 6))=yellow"
}

scenario="wide range, 300 dpi"
print_photo "$p300" 300 range "$work/range.png" 400 300 1035 745 && check_turned_range 300
scenario="wide range, 600 dpi"
print_photo "$p600" 600 range "$work/range.png" 400 300 1035 745 && check_turned_range 600
palette_copy "$work/range.png" "$work/range-4bit.png" 4
scenario="wide range on a 4-bit palette photo, 300 dpi"
print_photo "$p300" 300 range "$work/range-4bit.png" 400 300 1035 745 && check_turned_range 300

# A tall range, 445 x 635, on a tall photo: printed as it is.
make_photo "$work/tallrange.png" 1200 1600 322 517 \
    "magenta 0,0 1199,199" "magenta 0,835 1199,1599" "magenta 0,0 99,1599" "magenta 545,0 1199,1599"
scenario="tall range, 300 dpi"
if print_photo "$p300" 300 range "$work/tallrange.png" 100 200 545 835; then
    check_document
    check_area 300
    expect_area "3,3=red" "W-8,3=lime" "3,H-8=blue" "W-8,H-8=yellow"
fi

# A square range on a landscape photo: not turned, stretched over the area.
make_photo "$work/squarerange.png" 1600 1200 350 350 \
    "magenta 0,0 1599,99" "magenta 0,600 1599,1199" "magenta 0,0 99,1199" "magenta 600,0 1599,1199"
scenario="square range on a landscape photo, 300 dpi"
if print_photo "$p300" 300 range "$work/squarerange.png" 100 100 600 600; then
    check_document
    check_area 300
    expect_area "3,3=red" "W-8,3=lime" "3,H-8=blue" "W-8,H-8=yellow"
fi

# A photo that cannot be read prints nothing: the probe says so, and the
# spooler got no job (none waits, none was written out).
print_nothing() {   # PRINTER DPI all|range PHOTO [LEFT TOP RIGHT BOTTOM]
    local printer=$1 dir=$KIRUNE_PDF_DIR/$1 rc=0
    rm -f "$dir"/*.pdf
    "$wine_exec" "$arch" "$probe_exe" "$@" >/dev/null 2>"$work/probe.err" || rc=$?
    expect_eq "the probe's answer (3: not printed)" 3 "$rc"
    expect_eq "jobs waiting" "" "$(lpstat -o "$printer" 2>/dev/null)"
    expect_eq "documents printed" 0 "$(find "$dir" -maxdepth 1 -name '*.pdf' 2>/dev/null | wc -l)"
}
scenario="missing photo, print all"
print_nothing "$p300" 300 all "$work/no such photo.jpg"
scenario="missing photo, wide range"
print_nothing "$p300" 300 range "$work/no such photo.jpg" 400 300 1035 745
scenario="not a photo, print all"
echo "not an image" >"$work/text.jpg"
print_nothing "$p300" 300 all "$work/text.jpg"

echo "$passed passed, $failed failed ($arch)"
[ "$failed" -eq 0 ]
