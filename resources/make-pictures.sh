#!/bin/bash
# Draws the program's pictures with ImageMagick. The results are committed; run this only to
# change them. Needs the WenQuanYi Micro Hei font for the Chinese captions.
# Each picture shown in a window is drawn at 100, 150 and 200 % (NAME.jpg, NAME_150.jpg,
# NAME_200.jpg): the program takes the one for the display's scale and never enlarges one.
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# The logo: a ring with a "Q", on a transparent ground.
logo() {  # size file
  local s=$1
  convert -size "${s}x${s}" xc:none -fill '#1f5fa8' -draw "circle $((s/2)),$((s/2)) $((s/2)),$((s/16))" \
    -fill white -font "$font" -pointsize $((s*6/10)) -gravity center -annotate +0+0 'Q' "$2"
}

logo 256 logo.png
convert logo.png -define icon:auto-resize=48,32,16 setup.ico

# A length of the 100 % drawing at the scale being drawn, rounded as the program rounds.
px() { echo $((($1 * scale + 50) / 100)); }
# The file of a picture at the scale being drawn.
name() { if [ "$scale" = 100 ]; then echo "$1.jpg"; else echo "$1_$scale.jpg"; fi; }

for scale in 100 150 200; do
  # Splash, 478 x 299.
  convert -size "$(px 478)x$(px 299)" gradient:'#0d3b73'-'#1f8fa8' \
    \( logo.png -resize "$(px 120)x$(px 120)" \) -gravity west -geometry "+$(px 40)+0" -composite \
    -font "$font" -fill white -gravity northwest \
    -pointsize "$(px 34)" -annotate "+$(px 185)+$(px 95)" 'Quarn 系列软件' \
    -pointsize "$(px 18)" -annotate "+$(px 188)+$(px 145)" '论坛 · 内容管理 · 博客' \
    -pointsize "$(px 14)" -fill '#d8e8f8' -annotate "+$(px 188)+$(px 185)" '安装向导 V2.0   正在启动，请稍候……' \
    -quality 90 "$(name splash)"

  # Welcome page picture, 185 x 290 (the page's left strip).
  convert -size "$(px 185)x$(px 290)" gradient:'#1f5fa8'-'#0d3b73' \
    \( logo.png -resize "$(px 96)x$(px 96)" \) -gravity north -geometry "+0+$(px 40)" -composite \
    -font "$font" -fill white -gravity north -pointsize "$(px 20)" -annotate "+0+$(px 160)" 'Quarn' \
    -pointsize "$(px 14)" -annotate "+0+$(px 190)" '安装向导' -quality 90 "$(name welcome)"

  # Page header picture, 48 x 48, on the header's white ground.
  convert -size "$(px 48)x$(px 48)" xc:white \( logo.png -resize "$(px 44)x$(px 44)" \) -gravity center \
    -composite -quality 92 "$(name header)"
done
rm logo.png
