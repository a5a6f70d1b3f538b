#!/bin/bash
# Draws the program's pictures with ImageMagick. The results are committed; run this only to
# change them. Needs the WenQuanYi Micro Hei font for the Chinese captions.
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

# Splash, 478 x 299.
convert -size 478x299 gradient:'#0d3b73'-'#1f8fa8' \
  \( logo.png -resize 120x120 \) -gravity west -geometry +40+0 -composite \
  -font "$font" -fill white -gravity northwest \
  -pointsize 34 -annotate +185+95 'Quarn 系列软件' \
  -pointsize 18 -annotate +188+145 '论坛 · 内容管理 · 博客' \
  -pointsize 14 -fill '#d8e8f8' -annotate +188+185 '安装向导 V2.0   正在启动，请稍候……' \
  -quality 90 splash.jpg

# Welcome page picture, 185 x 290 (the page's left strip).
convert -size 185x290 gradient:'#1f5fa8'-'#0d3b73' \
  \( logo.png -resize 96x96 \) -gravity north -geometry +0+40 -composite \
  -font "$font" -fill white -gravity north -pointsize 20 -annotate +0+160 'Quarn' \
  -pointsize 14 -annotate +0+190 '安装向导' -quality 90 welcome.jpg

# Page header picture, 64 x 64, on the header's white ground.
convert -size 64x64 xc:white \( logo.png -resize 56x56 \) -gravity center -composite -quality 92 header.jpg
rm logo.png
