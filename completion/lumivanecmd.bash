# bash completion for lumivanecmd (Lumivane 3.0)                              -*- shell-script -*-
# This file is generated from completion/lumivanecmd.bash.in by scripts/update-docs.sh; edit the template.
# Completes option names, the value keywords after "--option=", output formats after -c and --conversion=,
# file names after -i, --input=, --profile=, --report= and --wm-image=, and folder names after -o and --output=.

_lumivanecmd_long_options='--help --input= --output= --conversion= --profile= --quiet --debug --pause --version --jobs= --progress --report= --skip-existing --dry-run --shard= --dds-load-as= --gif-frame-loading= --ico-frame-loading= --psd-color-mode= --raw-load-as= --raw-header-size= --raw-width= --raw-height= --raw-tone-mapping= --tiff-frame-loading= --bmp-bpp= --bmp-compression= --bmp-color-table= --dds-bpp= --exr-bpp= --exr-compression= --gif-bpp= --hdr-bpp= --ico-bpp= --j2k-bpp= --jng-bpp= --jp2-bpp= --jpg-bpp= --jpg-quality= --jpg-chroma= --jpg-save-as= --jxr-bpp= --pbm-bpp= --pcx-bpp= --pfm-bpp= --pgm-bpp= --png-bpp= --png-compression= --png-interlaced --ppm-bpp= --psd-bpp= --tga-bpp= --tga-compression= --tiff-bpp= --tiff-compression= --tiff-color-mode= --wbmp-bpp= --webp-bpp= --webp-quality= --xpm-bpp= --rotation-type= --rotation= --rotation-back-color= --width= --width-unit= --height= --height-unit= --keep-aspect-ratio --resize-type= --resize-algorithm= --flip-horizontal --flip-vertical --brightness= --contrast= --gamma= --invert --greyscale --threshold= --dither= --fr-solid-left= --fr-solid-right= --fr-solid-top= --fr-solid-bottom= --fr-solid-left-color= --fr-solid-right-color= --fr-solid-top-color= --fr-solid-bottom-color= --fr-solid-opacity= --wm-text= --wm-font= --wm-font-size= --wm-font-leading= --wm-font-color= --wm-font-style= --wm-font-effect= --wm-text-antialiasing --wm-text-alignment= --wm-text-padding= --wm-text-opacity= --wm-back-color= --wm-back-opacity= --wm-text-boundary= --wm-text-position= --wm-text-x-offset= --wm-text-y-offset= --wm-text-rotation= --wm-text-size= --wm-image= --wm-image-greyscale --wm-image-opacity= --wm-image-boundary= --wm-image-position= --wm-image-x-offset= --wm-image-y-offset= --wm-image-rotation= --wm-image-size= --filename-mask= --file-timestamp= --file-timestamp-custom= --no-subfolders --metadata='
_lumivanecmd_short_options='-h -i -o -c -q -d -p -v'
_lumivanecmd_formats='bmp dds exr gif hdr ico j2k jng jp2 jpg jxr pbm pcx pfm pgm png ppm psd tga tiff wbmp webp xpm'
_lumivanecmd_file_options='--input -i --profile --report --wm-image'
_lumivanecmd_folder_options='--output -o'
_lumivanecmd_format_options='--conversion -c'
_lumivanecmd_keywords() {
  case ${1,,} in
    --dds-load-as) echo 'AUTO BGRA RGBA' ;;
    --gif-frame-loading) echo 'ALL FIRST MIDDLE LAST RANDOM' ;;
    --ico-frame-loading) echo 'ALL FIRST MIDDLE LAST RANDOM' ;;
    --psd-color-mode) echo 'RGB CMYK LAB' ;;
    --raw-load-as) echo 'AUTO 8 16 24 48HS 48 24HS FIT' ;;
    --raw-tone-mapping) echo 'NONE LINEAR AL DRR GD' ;;
    --tiff-frame-loading) echo 'ALL FIRST MIDDLE LAST RANDOM' ;;
    --bmp-compression) echo 'NONE RLE' ;;
    --bmp-color-table) echo 'AUTO EXACT' ;;
    --exr-compression) echo 'NONE ZIP PIZ PXR24 B44' ;;
    --jpg-chroma) echo 'NONE LOW MEDIUM HIGH' ;;
    --jpg-save-as) echo 'STANDARD SIMPLE OPTIMIZED PROGRESSIVE' ;;
    --png-compression) echo 'NONE ZLIB1 ZLIB6 ZLIB9' ;;
    --tga-compression) echo 'NONE RLE' ;;
    --tiff-compression) echo 'NONE CCITTFAX3 CCITTFAX4 PACKBITS DEFLATE ADOBEDEFLATE LZW JPEG LOGLUV' ;;
    --tiff-color-mode) echo 'RGB CMYK LAB' ;;
    --rotation-type) echo 'SIMPLE ADVANCED' ;;
    --width-unit) echo 'PIXELS PERCENT' ;;
    --height-unit) echo 'PIXELS PERCENT' ;;
    --resize-type) echo 'ALLIMAGES LARGEIMAGES' ;;
    --resize-algorithm) echo 'BOX BILINEAR BSPLINE BICUBIC CATMULLROM LANCZOS' ;;
    --dither) echo 'FS BAYER4 BAYER8 BAYER16 CLUSTER6 CLUSTER8 CLUSTER16' ;;
    --wm-font-style) echo 'REGULAR BOLD ITALIC BOLDITALIC' ;;
    --wm-font-effect) echo 'NONE UNDERLINE STRIKETHROUGHT' ;;
    --wm-text-alignment) echo 'LEFT CENTER RIGHT' ;;
    --wm-text-boundary) echo 'IMAGE FRAME' ;;
    --wm-text-position) echo 'TOPLEFT TOPCENTER TOPRIGHT MIDDLELEFT MIDDLECENTER MIDDLERIGHT BOTTOMLEFT BOTTOMCENTER BOTTOMRIGHT' ;;
    --wm-text-size) echo 'FIXED' ;;
    --wm-image-boundary) echo 'IMAGE FRAME' ;;
    --wm-image-position) echo 'TOPLEFT TOPCENTER TOPRIGHT MIDDLELEFT MIDDLECENTER MIDDLERIGHT BOTTOMLEFT BOTTOMCENTER BOTTOMRIGHT' ;;
    --wm-image-size) echo 'FIXED' ;;
    --file-timestamp) echo 'CURRENT ORIGINAL CUSTOM' ;;
    --metadata) echo 'KEEP NOGPS NONE' ;;
  esac
}

# Adds to COMPREPLY every word of the list that begins with `typed` (letter case ignored), after `prefix`. Keywords
# are offered in lower case once the user has started one in lower case: option values ignore letter case.
_lumivanecmd_offer() {
  local list=$1 typed=$2 prefix=$3 word lower=0
  [[ -n $typed && $typed == "${typed,,}" ]] && lower=1
  for word in $list; do
    [[ ${word,,} == "${typed,,}"* ]] || continue
    (( lower )) && word=${word,,}
    COMPREPLY+=("$prefix$word")
  done
}

_lumivanecmd_is_one_of() {
  [[ " $2 " == *" ${1,,} "* ]]
}

# Completes the value of option $1 from `typed`; `prefix` goes before each candidate.
_lumivanecmd_values() {
  local option=$1 typed=$2 prefix=$3 keywords candidate
  if _lumivanecmd_is_one_of "$option" "$_lumivanecmd_format_options"; then
    _lumivanecmd_offer "$_lumivanecmd_formats" "$typed" "$prefix"
  elif _lumivanecmd_is_one_of "$option" "$_lumivanecmd_folder_options"; then
    compopt -o filenames 2>/dev/null
    while IFS= read -r candidate; do COMPREPLY+=("$prefix$candidate"); done < <(compgen -d -- "$typed")
  elif _lumivanecmd_is_one_of "$option" "$_lumivanecmd_file_options"; then
    compopt -o filenames 2>/dev/null
    while IFS= read -r candidate; do COMPREPLY+=("$prefix$candidate"); done < <(compgen -f -- "$typed")
  else
    keywords=$(_lumivanecmd_keywords "$option")
    [[ -n $keywords ]] && _lumivanecmd_offer "$keywords" "$typed" "$prefix"
  fi
}

_lumivanecmd() {
  COMPREPLY=()
  local cur=${COMP_WORDS[COMP_CWORD]} prev="" before=""
  (( COMP_CWORD > 0 )) && prev=${COMP_WORDS[COMP_CWORD-1]}
  (( COMP_CWORD > 1 )) && before=${COMP_WORDS[COMP_CWORD-2]}

  # "--name=value" arrives as the words "--name", "=" and "value" while "=" is in COMP_WORDBREAKS (the default),
  # and as one word otherwise; then each candidate must repeat "--name=".
  if [[ $cur == "=" && $prev == --* ]]; then
    _lumivanecmd_values "$prev" "" ""
  elif [[ $prev == "=" && $before == --* ]]; then
    _lumivanecmd_values "$before" "$cur" ""
  elif [[ $cur == --*=* ]]; then
    _lumivanecmd_values "${cur%%=*}" "${cur#*=}" "${cur%%=*}="
  elif [[ $prev == -[!-]* ]] && _lumivanecmd_is_one_of "$prev" \
      "$_lumivanecmd_file_options $_lumivanecmd_folder_options $_lumivanecmd_format_options"; then
    _lumivanecmd_values "$prev" "$cur" ""  # -i FILE, -o PATH, -c STR: the value is the next word
  elif [[ -z $cur || $cur == -* ]]; then
    _lumivanecmd_offer "$_lumivanecmd_long_options $_lumivanecmd_short_options" "$cur" ""
    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
  fi
  return 0
}

complete -F _lumivanecmd lumivanecmd
