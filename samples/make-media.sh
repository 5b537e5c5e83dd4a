#!/usr/bin/env bash
# Generates the sample's media with ffmpeg and coreutils only: sounds, videos,
# pictures, the intro picture, the palette bitmap and the manual PDF. Nothing
# is downloaded, so the title folder can be rebuilt anywhere.
#
#   make-media.sh TITLE_DIR GENERAL_PICTURES OTRO_PICTURES
#   make-media.sh --list      the files written, one a line, relative to
#                             title/, general-pictures/ or otro-pictures/
set -euo pipefail

list_outputs() {
    cat <<'LIST'
title/wavs/silencio.wav
title/wavs/olas.wav
title/wavs/campana.wav
title/wavs/gaviota.wav
title/videos/intro.avi
title/videos/dorvik.avi
title/jpg/faro.jpg
title/jpg/puerto.jpg
title/jpg/mapa.jpg
title/fotos/acantilado.bmp
title/fotos/barcas.bmp
title/util/paleta.bmp
title/entrada.bmp
title/PDF/manual.pdf
general-pictures/logo.png
general-pictures/faro.png
general-pictures/gaviota.png
general-pictures/olas.png
general-pictures/barcas.png
general-pictures/acantilado.png
general-pictures/mapa.png
general-pictures/puerto.png
otro-pictures/logo-otro.png
otro-pictures/olas.png
LIST
}

if [[ ${1:-} == --list ]]; then
    list_outputs
    exit 0
fi
if [[ $# -ne 3 ]]; then
    echo "usage: $0 TITLE_DIR GENERAL_PICTURES OTRO_PICTURES | --list" >&2
    exit 2
fi
title_dir=$1
general_pictures=$2
otro_pictures=$3

# Everything is made in a scratch folder and moved into place at the end, so
# an interrupted run never leaves half-written media behind.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorvik-media.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch"/title/{wavs,videos,jpg,fotos,util,PDF} "$scratch"/general-pictures \
    "$scratch"/otro-pictures

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
# Stills: a one-frame source (an endless source would never let palettegen end).
still() { # filtergraph size output [encoder options...]
    local graph=$1 size=$2 out=$3
    shift 3
    ff -f lavfi -i "nullsrc=s=$size:r=1:d=1,format=gbrp,$graph" -frames:v 1 \
        -map_metadata -1 -fflags +bitexact -flags +bitexact "$@" "$out"
}

# Captions need a font; without one the pictures are made without text.
if ff -f lavfi -i "color=s=64x32:d=1,drawtext=text=a" -frames:v 1 -f null - 2>/dev/null; then
    have_fonts=1
else
    have_fonts=0
fi
caption() { # text size y [colour [x]]
    ((have_fonts)) || return 0
    printf ",drawtext=text='%s':fontsize=%s:fontcolor=%s:x=%s:y=%s:box=1:boxcolor=black@0.35:boxborderw=6" \
        "$1" "$2" "${4:-white}" "${5:-(w-text_w)/2}" "$3"
}

# --- Scenes: every scene is drawn relative to the picture's size ------------

# Sky above the horizon (a fraction of the height), calm sea below.
sky_and_sea() {
    local hz=$1
    printf "geq=r='if(lt(Y,%s*H),110+110*Y/H,25+8*sin(Y/6))':g='if(lt(Y,%s*H),160+80*Y/H,80+30*Y/H)':b='if(lt(Y,%s*H),235,150+40*Y/H)',format=yuv444p" \
        "$hz" "$hz" "$hz"
}

scene_faro() {
    sky_and_sea 0.62
    printf ",drawbox=x=iw*0.62:y=ih*0.50:w=iw*0.38:h=ih*0.14:color=0x6b5a3c:t=fill"
    printf ",drawbox=x=iw*0.72:y=ih*0.18:w=iw*0.08:h=ih*0.34:color=white:t=fill"
    printf ",drawbox=x=iw*0.72:y=ih*0.26:w=iw*0.08:h=ih*0.05:color=0xc02020:t=fill"
    printf ",drawbox=x=iw*0.72:y=ih*0.38:w=iw*0.08:h=ih*0.05:color=0xc02020:t=fill"
    printf ",drawbox=x=iw*0.71:y=ih*0.12:w=iw*0.10:h=ih*0.06:color=0xffe040:t=fill"
    printf ",drawbox=x=iw*0.70:y=ih*0.10:w=iw*0.12:h=ih*0.02:color=0x303030:t=fill"
}

scene_gaviota() {
    # Two curved wings meeting at the body, dark on a clear sky.
    local wing="lt(abs((Y-0.45*H)/H+0.55*abs(X-0.5*W)/W-1.6*pow((X-0.5*W)/W,2)),0.018)*lt(abs(X-0.5*W),0.32*W)"
    printf "geq=r='if(%s,60,120+100*Y/H)':g='if(%s,60,170+70*Y/H)':b='if(%s,70,240)',format=yuv444p" \
        "$wing" "$wing" "$wing"
    printf ",drawbox=x=iw*0.485:y=ih*0.43:w=iw*0.03:h=ih*0.05:color=0x404040:t=fill"
}

scene_olas() {
    local crest="lt(Y,0.40*H+0.06*H*sin(X*12/W)+0.03*H*sin(X*31/W))"
    printf "geq=r='if(%s,130+90*Y/H,if(lt(mod(Y+12*sin(X*9/W),0.12*H),0.015*H),230,20))':g='if(%s,180+60*Y/H,if(lt(mod(Y+12*sin(X*9/W),0.12*H),0.015*H),240,90+60*Y/H))':b='if(%s,240,if(lt(mod(Y+12*sin(X*9/W),0.12*H),0.015*H),250,170+50*Y/H))',format=yuv444p" \
        "$crest" "$crest" "$crest"
}

scene_barcas() {
    # Two hulls (trapezoids) with their masts and sails on the sea.
    local hull1="between(Y,0.58*H,0.70*H)*between(X,0.10*W+(Y-0.58*H)*0.8,0.45*W-(Y-0.58*H)*0.8)"
    local hull2="between(Y,0.66*H,0.76*H)*between(X,0.55*W+(Y-0.66*H)*0.8,0.88*W-(Y-0.66*H)*0.8)"
    printf "geq=r='if(%s,190,if(%s,40,if(lt(Y,0.6*H),120+100*Y/H,25)))':g='if(%s,40,if(%s,130,if(lt(Y,0.6*H),170+70*Y/H,80+30*Y/H)))':b='if(%s,40,if(%s,60,if(lt(Y,0.6*H),235,150+40*Y/H)))',format=yuv444p" \
        "$hull1" "$hull2" "$hull1" "$hull2" "$hull1" "$hull2"
    printf ",drawbox=x=iw*0.27:y=ih*0.22:w=iw*0.012:h=ih*0.36:color=0x4a3520:t=fill"
    printf ",drawbox=x=iw*0.285:y=ih*0.25:w=iw*0.12:h=ih*0.26:color=0xf4f0e0:t=fill"
    printf ",drawbox=x=iw*0.71:y=ih*0.36:w=iw*0.012:h=ih*0.30:color=0x4a3520:t=fill"
    printf ",drawbox=x=iw*0.725:y=ih*0.39:w=iw*0.10:h=ih*0.20:color=0xe8d070:t=fill"
}

scene_acantilado() {
    local rock="lt(X,W*(0.42+0.08*sin(Y*11/H)+0.03*sin(Y*37/H)-0.10*Y/H))*gt(Y,0.18*H)"
    printf "geq=r='if(%s,120+30*sin(X/7)*sin(Y/9),if(lt(Y,0.55*H),120+100*Y/H,25))':g='if(%s,95+20*sin(X/7)*sin(Y/9),if(lt(Y,0.55*H),170+70*Y/H,80+30*Y/H))':b='if(%s,70,if(lt(Y,0.55*H),235,150+40*Y/H))',format=yuv444p" \
        "$rock" "$rock" "$rock"
    printf ",drawbox=x=0:y=ih*0.12:w=iw*0.40:h=ih*0.07:color=0x4c8a3a:t=fill"
}

scene_puerto() {
    sky_and_sea 0.50
    printf ",drawbox=x=0:y=ih*0.50:w=iw*0.55:h=ih*0.08:color=0x8a8070:t=fill"
    local i=0 colour
    for colour in 0xe8dcc0 0xd8a860 0xf0f0e8 0x98b8c8 0xe0c890; do
        printf ",drawbox=x=iw*0.%02d:y=ih*0.34:w=iw*0.08:h=ih*0.16:color=%s:t=fill" $((2 + i * 10)) "$colour"
        printf ",drawbox=x=iw*0.%02d:y=ih*0.30:w=iw*0.08:h=ih*0.04:color=0xa03020:t=fill" $((2 + i * 10))
        i=$((i + 1))
    done
    printf ",drawbox=x=iw*0.62:y=ih*0.60:w=iw*0.20:h=ih*0.05:color=0x2050a0:t=fill"
    printf ",drawbox=x=iw*0.71:y=ih*0.42:w=iw*0.01:h=ih*0.18:color=0x402a18:t=fill"
}

scene_mapa() {
    # Islands and a coastline from a few crossed waves; a grid for the map.
    local x="(X*1600/W)" y="(Y*1200/H)"
    local relief="sin($x/97)+sin($y/71+$x/230)+0.6*sin(($x+$y)/41)+3*(0.4-X/W)"
    local land="gt($relief,0.55)" high="gt($relief,1.6)"
    printf "geq=r='if(%s,150,if(%s,110,70))':g='if(%s,130,if(%s,160,130+30*sin($x/53)*sin($y/47)))':b='if(%s,90,if(%s,80,200))',format=yuv444p" \
        "$high" "$land" "$high" "$land" "$high" "$land"
    printf ",drawgrid=w=iw/8:h=ih/6:t=1:color=white@0.45"
}

banner() { # title size
    printf "geq=r='20+40*X/W':g='60+80*X/W':b='120+100*X/W',format=yuv444p"
    caption "$1" "$2" "(h-text_h)/2"
}

# --- Sounds -------------------------------------------------------------------
echo "sounds"
wav() { # output filter duration rate codec
    ff -f lavfi -i "$2" -t "$3" -ar "$4" -ac 1 -c:a "$5" -map_metadata -1 -fflags +bitexact -flags +bitexact "$1"
}
wav "$scratch/title/wavs/silencio.wav" "anullsrc=r=11025:cl=mono" 0.25 11025 pcm_s16le
wav "$scratch/title/wavs/olas.wav" \
    "anoisesrc=color=brown:r=22050:a=0.5:seed=7,volume='0.35+0.3*sin(2*PI*t/3)':eval=frame,afade=t=in:d=0.5,afade=t=out:st=2.5:d=0.5" \
    3 22050 pcm_s16le
wav "$scratch/title/wavs/campana.wav" \
    "aevalsrc='0.5*(sin(2*PI*660*t)+0.5*sin(2*PI*1320*t)+0.3*sin(2*PI*1980*t))*exp(-2.5*mod(t,1))':s=11025" \
    2 11025 pcm_u8
wav "$scratch/title/wavs/gaviota.wav" \
    "aevalsrc='0.6*sin(2*PI*(1500+900*mod(t,0.4))*t)*lt(mod(t,0.4),0.25)*sin(PI*mod(t,0.4)/0.25)':s=22050" \
    1.6 22050 adpcm_ms

# --- Videos -------------------------------------------------------------------
echo "videos"
tune="0.3*sin(2*PI*262*pow(1.26,mod(floor(t*2),3))*t)*exp(-3*mod(t,0.5))"
# Waves rolling under the sky, Cinepak with PCM sound.
crest="lt(Y,0.55*H+6*sin(X/25+T*4))"
ff -f lavfi -i "nullsrc=s=320x240:r=10:d=3,format=gbrp,geq=r='if($crest,120+100*Y/H,25)':g='if($crest,170+70*Y/H,80+25*sin(X/30-T*3))':b='if($crest,235,160+30*sin(X/30-T*3))'$(caption 'Las olas' 18 12)" \
    -f lavfi -i "aevalsrc='$tune':s=22050:d=3" \
    -c:v cinepak -pix_fmt rgb24 -c:a pcm_s16le -ac 1 -map_metadata -1 -fflags +bitexact -flags +bitexact \
    "$scratch/title/videos/intro.avi"
# The lighthouse with its lamp blinking, MS Video 1 with PCM sound (the intro).
ff -f lavfi -i "nullsrc=s=320x200:r=10:d=3,format=gbrp,$(scene_faro),drawbox=x=iw*0.71:y=ih*0.12:w=iw*0.10:h=ih*0.06:color=0x806010:t=fill:enable='lt(mod(t,1),0.5)'$(caption 'Dezezi Dorvik' 20 8 white 12)" \
    -f lavfi -i "aevalsrc='$tune':s=22050:d=3" \
    -c:v msvideo1 -pix_fmt rgb555le -c:a pcm_s16le -ac 1 -map_metadata -1 -fflags +bitexact -flags +bitexact \
    "$scratch/title/videos/dorvik.avi"

# --- Pictures shown by the picture viewer ------------------------------------------
echo "pictures"
still "$(scene_faro)$(caption 'El faro del Norte' 26 'h-text_h-20')" 640x480 "$scratch/title/jpg/faro.jpg" -q:v 4
still "$(scene_puerto)$(caption 'El puerto' 26 'h-text_h-20')" 640x480 "$scratch/title/jpg/puerto.jpg" -q:v 4
# Larger than 800 x 600, so the viewer scrolls it.
still "$(scene_mapa)$(caption 'Mapa de la costa de Dorvik' 48 40)$(caption 'Mar de Dorvik' 30 420 yellow)$(caption 'Bahía del Sur' 30 980 yellow)" \
    1600x1200 "$scratch/title/jpg/mapa.jpg" -q:v 5
still "$(scene_acantilado)" 320x240 "$scratch/title/fotos/acantilado.bmp" -pix_fmt bgr24
# An 8-bit bitmap with its own palette.
still "$(scene_barcas),split[a][b];[a]palettegen=max_colors=256:reserve_transparent=0[p];[b][p]paletteuse=dither=bayer" \
    400x300 "$scratch/title/fotos/barcas.bmp" -pix_fmt pal8
# The palette realised for videos: a 16 x 16 swatch of 256 colours.
still "geq=r='mod(X,8)*36':g='mod(Y,8)*36':b='(floor(X/8)+2*floor(Y/8))*85'" 16x16 \
    "$scratch/title/util/paleta.bmp" -pix_fmt pal8
# The intro picture, 640 x 480, 8 bits.
still "$(scene_faro)$(caption 'La costa de Dorvik' 40 40 white 30)$(caption 'Haga clic en la imagen para entrar' 20 'h-text_h-24'),split[a][b];[a]palettegen=max_colors=256:reserve_transparent=0[p];[b][p]paletteuse=dither=bayer" \
    640x480 "$scratch/title/entrada.bmp" -pix_fmt pal8

# --- Pictures inside the titles -----------------------------------------------
gp=$scratch/general-pictures
still "$(banner 'La costa de Dorvik' 30)" 480x64 "$gp/logo.png"
still "$(scene_faro)" 240x180 "$gp/faro.png"
still "$(scene_gaviota)" 240x180 "$gp/gaviota.png"
still "$(scene_olas)" 240x180 "$gp/olas.png"
still "$(scene_barcas)" 240x180 "$gp/barcas.png"
still "$(scene_acantilado)" 240x180 "$gp/acantilado.png"
still "$(scene_mapa)" 240x180 "$gp/mapa.png"
still "$(scene_puerto)" 240x180 "$gp/puerto.png"
op=$scratch/otro-pictures
still "$(banner 'Cuaderno de mareas' 26)" 400x56 "$op/logo-otro.png"
still "$(scene_olas)" 240x180 "$op/olas.png"

# --- The manual, a small PDF --------------------------------------------------------
echo "manual"
# A PDF string: ( ) and \ as escapes. The text stays UTF-8 here; each page is
# turned into Windows-1252 as a whole (pdf_winansi), so no program is started
# per string or per byte.
pdf_string() { # text; sets string
    local text=${1//\\/\\134}
    text=${text//(/\\050}
    text=${text//)/\\051}
    string="($text)"
}
# Content stream of one page: a heading, then one line per argument.
pdf_page_content() {
    local heading=$1 line string y=760
    shift
    pdf_string "$heading"
    printf 'BT /F2 18 Tf 72 %d Td %s Tj ET\n' "$y" "$string"
    y=$((y - 36))
    for line in "$@"; do
        pdf_string "$line"
        printf 'BT /F1 12 Tf 72 %d Td %s Tj ET\n' "$y" "$string"
        y=$((y - 18))
    done
}
# Standard input in Windows-1252, its bytes above 127 (all inside strings) as
# octal escapes.
pdf_winansi() {
    local byte octal char out=""
    for byte in $(iconv -f UTF-8 -t WINDOWS-1252 | od -An -v -tu1); do
        printf -v octal '%03o' "$byte"
        if ((byte > 127)); then
            out+="\\$octal"
        else
            printf -v char '%b' "\\$octal"
            out+=$char
        fi
    done
    printf '%s' "$out"
}
make_pdf() {
    local out=$1 page1 page2
    page1=$(pdf_page_content "Manual del lector Dezezi Dorvik" \
        "Este manual acompaña al libro de muestra «La costa de Dorvik»." \
        "" \
        "1. Navegación" \
        "   El índice de la izquierda abre cada tema. Los botones Anterior y" \
        "   Siguiente recorren el libro en orden; Volver regresa al tema anterior." \
        "" \
        "2. Enlaces especiales" \
        "   Algunas palabras del texto reproducen sonidos o vídeos, muestran" \
        "   fotografías o abren documentos como este." \
        "" \
        "3. Búsqueda" \
        "   Escriba una o varias palabras; use comillas para una frase exacta," \
        "   un asterisco para el final de una palabra (gavi*) y un signo de" \
        "   interrogación por cada letra desconocida (ma???)." | pdf_winansi)
    page2=$(pdf_page_content "Marcas, notas e impresión" \
        "Con «Ver marcas» se vuelve a cualquier tema marcado, y «Anotar»" \
        "guarda una nota breve junto a un tema. Marcas y notas se conservan" \
        "entre una sesión y la siguiente." \
        "" \
        "«Imprimir» reúne varios temas en una sola lista de impresión." \
        "" \
        "Página 2 de 2." | pdf_winansi)
    local objects=(
        "<< /Type /Catalog /Pages 2 0 R >>"
        "<< /Type /Pages /Kids [5 0 R 7 0 R] /Count 2 >>"
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>"
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents 6 0 R >>"
        "<< /Length ${#page1} >>
stream
$page1
endstream"
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents 8 0 R >>"
        "<< /Length ${#page2} >>
stream
$page2
endstream"
        "<< /Title (Manual del lector) /Producer (make-media.sh) >>"
    )
    local offsets=() i
    printf '%%PDF-1.4\n' >"$out"
    for i in "${!objects[@]}"; do
        offsets+=("$(stat -c %s "$out")")
        printf '%d 0 obj\n%s\nendobj\n' $((i + 1)) "${objects[$i]}" >>"$out"
    done
    local xref
    xref=$(stat -c %s "$out")
    {
        printf 'xref\n0 %d\n0000000000 65535 f \n' $((${#objects[@]} + 1))
        for i in "${offsets[@]}"; do printf '%010d 00000 n \n' "$i"; done
        printf 'trailer\n<< /Size %d /Root 1 0 R /Info 9 0 R >>\nstartxref\n%d\n%%%%EOF\n' \
            $((${#objects[@]} + 1)) "$xref"
    } >>"$out"
}
# Byte counts below must not depend on the user's locale.
LC_ALL=C make_pdf "$scratch/title/PDF/manual.pdf"

# --- Into place -----------------------------------------------------------------------
while read -r rel; do
    case $rel in
    title/*) dest=$title_dir/${rel#title/} ;;
    general-pictures/*) dest=$general_pictures/${rel#general-pictures/} ;;
    otro-pictures/*) dest=$otro_pictures/${rel#otro-pictures/} ;;
    esac
    [[ -s $scratch/$rel ]] || { echo "make-media.sh: $rel was not made" >&2; exit 1; }
    mkdir -p "$(dirname "$dest")"
    mv -f "$scratch/$rel" "$dest"
done < <(list_outputs)
echo "media ready"
