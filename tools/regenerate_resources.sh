#!/usr/bin/env bash
# Redraws the editor's images and regenerates the embedded byte arrays.
#   tools/regenerate_resources.sh BUILD_DIR
# BUILD_DIR is a configured build tree (for the image generator); the PNGs and
# the generated Fonts/Bitmaps sources land in editor/resources, to be committed.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:?usage: $0 BUILD_DIR}"
res="$here/editor/resources"

ninja -C "$build" qv_generate_images
generator="$(find "$build" -name qv_generate_images -type f -perm -u+x | head -n 1)"
"$generator" "$res"

python3 "$here/tools/embed_resources.py" --namespace Fonts --basename Fonts --out-dir "$res" \
    --comment "Source: Roboto-Bold.ttf beside this file (Roboto, Apache-2.0, see LICENSE-Roboto.txt)." \
    robotobold_ttf="$res/Roboto-Bold.ttf"

python3 "$here/tools/embed_resources.py" --namespace Bitmaps --basename Bitmaps --out-dir "$res" \
    --comment "Source: the PNGs beside this file, drawn by tools/image_generator." \
    help_png="$res/help.png" \
    help_overlay_png="$res/help_overlay.png" \
    protools_help_overlay_png="$res/protools_help_overlay.png" \
    info_png="$res/info.png" \
    logo_png="$res/logo.png" \
    head_outline_png="$res/head_outline.png" \
    head_topdown_outline_png="$res/head_topdown_outline.png"
