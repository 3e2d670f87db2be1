#!/usr/bin/env bash
# Shows that a code change leaves lumivanecmd's behaviour unchanged. It builds BASE_COMMIT (only the lumivanecmd
# target) in a detached git work tree under build-compare/ (git-ignored) and keeps the program alone as
# build-compare/<commit>/lumivanecmd, so a later run against the same commit starts at once; the other side is the
# current tree's build (build/, or BUILD_DIR), brought up to date first. Then it runs the same few hundred runs with
# both programs, one after the other, with the same input and output paths, and compares for every run the exact
# standard output bytes, the exit code and the output files: their names and bytes, and for the runs with
# --file-timestamp=ORIGINAL or CUSTOM their modification times. It prints one line per run that differs, with a
# short diff, keeps both sides of such a run in build-compare/differences/, and ends with
# "compared N runs, M output files: all identical" (exit 0) or the number of runs that differ (exit 1).
#
# The runs use the samples folder's camera/ and odd/ files: all of them, or the smallest file of each extension
# (a list file), or the smallest camera file; most resize to 320 pixels so that the encoders are quick. They cover
# every output format at automatic depth on every sample, every bit depth each format allows and one it does not,
# every keyword of every keyword-valued option, the numeric bounds and one past them (in debug listings, which
# print the settings and the "Error: " line of a failed check), rotation, resizing, flips, colours, greyscale,
# threshold, dithering, every --raw-load-as value and tone mapping, frames, text and picture watermarks, filename
# masks, file times, subfolders, profiles, list files, --jobs and the command-line errors. The formats, their bit
# depths, the keyword options and their keywords are read from docs/user-guide.md ("Output formats", "Advanced
# options"), so a new keyword is covered without an edit here. The runs use -d (but for a few that check the plain
# and quiet console) and never --report, the clock tokens of masks or %rnd%, whose values change from run to run.
#
# Some encoders write a few bytes of uninitialised memory into their files (the padding of RLE-compressed BMP, the
# byte before a TIFF directory). So both programs run from one path and with one MALLOC_PERTURB_ value, which makes
# those bytes the same; when a file still differs, both run again with another value, and a file whose differing
# bytes all change with it (or, where ImageMagick decodes it, whose pixels are the same) counts as identical; the
# summary lists such files.
#
# --pixels compares output files by the pixels ImageMagick decodes (`identify -format '%#'`, a hash of the pixel
# values, with each frame's size) instead of their bytes, so that a change of metadata alone does not count; files
# with the same bytes need no decoding. ImageMagick 6.9 (Debian 12) cannot decode some files lumivanecmd writes:
# 16-bit icons, JPEG XR at 1, 16 and 32 bits (its JxrDecApp delegate refuses those pixel formats), and TIFF files
# that carry the IPTC block of a JPEG input (odd/jpeg-data-named.nef). For those the bytes are compared instead,
# and the summary names their formats. Console lines and exit codes are always compared exactly.
#
# Usage: bench/compare_outputs.sh [--pixels] BASE_COMMIT [samples-folder]   (default: ../shared/samples)
# Needs the current tree configured once (scripts/build.sh), and ImageMagick for --pixels (scripts/install-deps.sh).
# Time on a 2-core machine: building the base about 3 minutes, once per commit; the runs about 9 minutes for both
# sides together while another build shared the machine (much longer when several did), with or without --pixels.
set -euo pipefail
# The whole comparison runs in a network namespace of its own when this user may make one: lumivanecmd's
# single-instance guard is per user and network namespace, so a copy that someone else starts meanwhile cannot stop
# a run (ours run one after the other). Otherwise a run that meets another copy (exit 3, nothing printed) is tried
# again a few times.
if [ -z "${LUMIVANE_COMPARE_NETNS:-}" ] && unshare -n true 2>/dev/null; then
  LUMIVANE_COMPARE_NETNS=1 exec unshare -n -- bash "$0" "$@"
fi
cd "$(dirname "$0")/.."
root=$PWD

usage() { echo "usage: bench/compare_outputs.sh [--pixels] BASE_COMMIT [samples-folder]" >&2; exit 2; }
pixels=0
if [ "${1:-}" = --pixels ]; then pixels=1; shift; fi
if [ $# -lt 1 ] || [ $# -gt 2 ]; then usage; fi
case $1 in -*) usage ;; esac
base_sha=$(git rev-parse --verify --quiet "$1^{commit}") || { echo "not a commit: $1" >&2; exit 2; }
samples=$(realpath "${2:-../shared/samples}")
[ -d "$samples/camera" ] || [ -d "$samples/odd" ] || { echo "no camera/ or odd/ folder in $samples" >&2; exit 2; }
guide=docs/user-guide.md
[ -f "$guide" ] || { echo "missing $guide" >&2; exit 2; }
if [ "$pixels" = 1 ] && ! command -v identify >/dev/null; then
  echo "--pixels needs ImageMagick's identify: scripts/install-deps.sh (package imagemagick)" >&2
  exit 2
fi
started=$(date +%s)

# ---- The two programs ----

# The current tree's build, updated (only lumivanecmd; its configuration, tests included, stays as it is).
new_build=$(realpath -m "${BUILD_DIR:-build}")
if [ ! -f "$new_build/CMakeCache.txt" ]; then
  echo "configure and build the current tree first: scripts/build.sh" >&2
  exit 2
fi
echo "updating $new_build/lumivanecmd"
if ! cmake --build "$new_build" --target lumivanecmd -j"$(nproc)" >"$new_build/compare-build.log" 2>&1; then
  tail -n 30 "$new_build/compare-build.log" >&2
  exit 2
fi
new_program=$new_build/lumivanecmd

# The base commit's program: configured as scripts/build.sh does (tests left out), only lumivanecmd built, then
# kept alone; the work tree and the build tree go once the program is there (they stay after a failed build, so
# that the next attempt continues).
base_dir=$root/build-compare/$base_sha
base_program=$base_dir/lumivanecmd
if [ -x "$base_program" ]; then
  echo "reusing the build of $base_sha in build-compare/"
else
  echo "building $base_sha (lumivanecmd only) in build-compare/; this takes a few minutes"
  mkdir -p "$base_dir"
  if [ ! -e "$base_dir/src/.git" ]; then
    rm -rf "$base_dir/src"
    git worktree prune
    git worktree add --detach --quiet "$base_dir/src" "$base_sha"
  fi
  if ! { cmake -S "$base_dir/src" -B "$base_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF &&
         cmake --build "$base_dir/build" --target lumivanecmd -j"$(nproc)"; } >"$base_dir/build.log" 2>&1; then
    tail -n 30 "$base_dir/build.log" >&2
    echo "building $base_sha failed; the log is $base_dir/build.log" >&2
    exit 2
  fi
  cp "$base_dir/build/lumivanecmd" "$base_program.part"
  mv "$base_program.part" "$base_program"
  git worktree remove --force "$base_dir/src"
  rm -rf "$base_dir/build"
fi

# ---- Scratch folder, inputs ----

scratch=$(mktemp -d "${TMPDIR:-/tmp}/lumivane-compare.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
differences_dir=$root/build-compare/differences
rm -rf "$differences_dir"
out=$scratch/out              # the output folder of every run, on both sides
mkdir -p "$scratch/in" "$scratch/cwd" "$scratch/empty" "$scratch/results"

# all: a folder whose camera/ and odd/ subfolders are the samples' (followed as links; repeated below the output).
for sub in camera odd; do
  if [ -d "$samples/$sub" ]; then ln -s "$samples/$sub" "$scratch/in/$sub"; fi
done
all_input=$scratch/in/
sample_files() { find -L "$scratch/in" -type f -printf '%s\t%p\n' | LC_ALL=C sort -t $'\t' -k1,1n -k2,2; }
# few: a list file naming the smallest file of each extension (camera and odd samples alike).
few_input=$scratch/few.lst
sample_files | awk -F'\t' '{
  name = $2; sub(/.*\//, "", name); ext = tolower(name)
  if (ext ~ /\./) sub(/.*\./, "", ext); else ext = ""
  if (!(ext in seen)) { seen[ext] = 1; print $2 } }' >"$few_input"
# one: the smallest camera file (or odd one when there is no camera folder).
one_input=$(sample_files | awk -F'\t' '$2 ~ /\/camera\// { print $2; exit }')
[ -n "$one_input" ] || one_input=$(sample_files | awk -F'\t' 'NR == 1 { print $2 }')
[ -n "$one_input" ] || { echo "no sample files in $samples" >&2; exit 2; }

# Both programs run from one path, $scratch/bin/lumivanecmd (each is renamed to it for its runs): the program's
# folder is the same for relative paths, and so is the memory layout that the path's length shapes. And they run
# with one MALLOC_PERTURB_ value, which fills memory from malloc and free with fixed bytes: some encoders write a
# few bytes of uninitialised memory into their files (the padding of RLE-compressed BMP, the byte before a TIFF
# directory), which would otherwise differ between the programs without any change of behaviour.
mkdir "$scratch/bin"
cp "$base_program" "$scratch/bin/base"
cp "$new_program" "$scratch/bin/new"
perturb=165

# run_program base|new ARGUMENTS...: runs that program in the scratch folder, without input; its output goes to
# $scratch/stdout and its exit code is printed.
run_program() {
  local which=$1 code tries=0
  shift
  mv "$scratch/bin/$which" "$scratch/bin/lumivanecmd"
  while :; do
    code=0
    (cd "$scratch/cwd" && MALLOC_PERTURB_=$perturb timeout -k 10 600 "$scratch/bin/lumivanecmd" "$@" </dev/null \
       >"$scratch/stdout" 2>/dev/null) || code=$?
    if [ "$code" != 3 ] || [ -s "$scratch/stdout" ] || [ -n "${LUMIVANE_COMPARE_NETNS:-}" ] ||
       [ $((tries += 1)) -gt 5 ]; then
      break
    fi
    sleep 3
  done
  mv "$scratch/bin/lumivanecmd" "$scratch/bin/$which"
  echo "$code"
}

# Watermark pictures (PNG with alpha, JPEG, BMP), made once by the current program and used by both sides.
for kind in "png --png-bpp=32" "jpg" "bmp --bmp-bpp=24"; do
  read -r -a picture <<<"$kind"
  rm -rf "$scratch/wm"; mkdir "$scratch/wm"
  code=$(run_program new -q -i "$one_input" -o "$scratch/wm" -c "${picture[@]}" --width=64 --height=64 \
           --keep-aspect-ratio)
  made=$(find "$scratch/wm" -type f | head -n 1)
  if [ "$code" != 0 ] || [ -z "$made" ]; then
    echo "could not make the ${picture[0]} watermark picture (exit $code)" >&2
    exit 2
  fi
  mv "$made" "$scratch/watermark.${picture[0]}"
done
rm -rf "$scratch/wm"
: >"$scratch/empty.png"

cat >"$scratch/profile.ini" <<'EOF'
; A profile for the comparison runs; [Other] and the unknown option are ignored.
[CLI]
--width = 300
--height = 200
--keep-aspect-ratio = 1
--resize-algorithm = LANCZOS
--jpg-quality = 80
--jpg-save-as = PROGRESSIVE
--fr-solid-top = 8
--fr-solid-top-color = 336699
--wm-solid-opacity = 160
--no-such-option = 1
--filename-mask = "%filename% profile.%ext%"
[Other]
--greyscale = 1
EOF
printf '[CLI]\n--greyscale = 0\n--invert =\n--brightness =\n' >"$scratch/profile-empty-values.ini"

# ---- The formats and keywords, from the user guide ----

declare -A depths=()    # format -> its allowed bit depths, blank-separated
formats=()
while read -r format list; do
  formats+=("$format")
  depths[$format]=${list//,/ }
done < <(awk -F'|' '
  /^### / { section = $0 }
  section == "### Output formats" && $2 ~ /^ `[a-z0-9]+` $/ {
    f = $2; gsub(/[ `]/, "", f); d = $4; gsub(/ /, "", d); print f, d }' "$guide")
declare -A keywords=()  # option (--name) -> its keywords, blank-separated
keyword_options=()
while read -r option list; do
  keyword_options+=("$option")
  keywords[$option]=${list//,/ }
done < <(awk -F'|' '
  /^### / { section = $0 }
  section == "### Advanced options" && $2 ~ /^ `--[a-z0-9-]+=[A-Z]+` $/ && $3 ~ /^ `[A-Z0-9]+`(, `[A-Z0-9]+`)* $/ {
    o = $2; gsub(/[ `]/, "", o); sub(/=.*/, "", o); k = $3; gsub(/[ `]/, "", k); print o, k }' "$guide")
if [ ${#formats[@]} = 0 ] || [ ${#keyword_options[@]} = 0 ]; then
  echo "cannot read the tables of $guide" >&2
  exit 2
fi

# The keyword options the runs below name (every other one is covered by the listing runs at the end).
for option in --raw-load-as --raw-tone-mapping --bmp-compression --bmp-color-table --exr-compression --jpg-chroma \
  --jpg-save-as --png-compression --tga-compression --tiff-compression --tiff-color-mode --resize-algorithm \
  --rotation-type --dither --wm-text-position --wm-font-style --wm-font-effect --wm-text-alignment \
  --wm-text-boundary --wm-text-size --wm-image-position --wm-image-boundary --wm-image-size --file-timestamp; do
  if [ -z "${keywords[$option]:-}" ]; then echo "$guide lists no keywords for $option" >&2; exit 2; fi
done

# keyword OPTION K: the option's keyword number K, counted round its list.
keyword() {
  local -a list
  read -r -a list <<<"${keywords[$1]}"
  echo "${list[$(($2 % ${#list[@]}))]}"
}
keyword_count() { local -a list; read -r -a list <<<"${keywords[$1]:-}"; echo "${#list[@]}"; }

# ---- The runs ----

# add NAME INPUT ARGUMENTS...: a run of lumivanecmd. INPUT is all, few or one (-i that input and -o the output
# folder come first), or - (the arguments are the whole command line). The arguments are kept joined by \x1f.
# add_timed is the same for a run whose output files' modification times are compared too.
run_names=(); run_lines=(); run_timed=()
declare -A used=()
add() {
  local name=$1 input=$2 argument
  shift 2
  case $input in
    all) set -- -i "$all_input" -o "$out" "$@" ;;
    few) set -- -i "$few_input" -o "$out" "$@" ;;
    one) set -- -i "$one_input" -o "$out" "$@" ;;
    -) ;;
    *) echo "bad input kind $input" >&2; exit 2 ;;
  esac
  for argument in "$@"; do used[$argument]=1; done
  run_names+=("$name")
  run_lines+=("$(IFS=$'\x1f'; echo "$*")")
  run_timed+=(0)
}
add_timed() { add "$@"; run_timed[-1]=1; }

small=(--width=320 --height=320 --keep-aspect-ratio)

# Every format at automatic depth on every sample; a few at full size.
for format in "${formats[@]}"; do add "format-$format" all -d -c "$format" "${small[@]}"; done
add full-jpg all -d -c jpg
add full-default-format few -d
add full-tiff-48 few -d -c tiff --raw-load-as=48 --raw-tone-mapping=NONE --tiff-bpp=48 --tiff-compression=DEFLATE

# Every allowed bit depth of each format, and one depth it does not allow.
for format in "${formats[@]}"; do
  for depth in ${depths[$format]}; do
    add "depth-$format-$depth" few -d -c "$format" "--$format-bpp=$depth" "${small[@]}"
  done
  for bad in 16 2 12 64; do
    if [[ " ${depths[$format]} " != *" $bad "* ]]; then break; fi
  done
  add "depth-$format-$bad-refused" one -d -c "$format" "--$format-bpp=$bad"
done
add depth-negative-refused one -d -c tiff --tiff-bpp=-8

# Decoding: every --raw-load-as value (the full 24-bit picture and bare pixel data on every sample, the others on
# the smallest of each extension: the format runs above decode every sample as AUTO), bare pixel data with its
# sizes, every tone mapping.
for ((k = 0; k < $(keyword_count --raw-load-as); ++k)); do
  value=$(keyword --raw-load-as "$k")
  case $value in 24 | 8 | 16) input=all ;; *) input=few ;; esac
  add "raw-load-as-$value" "$input" -d -c png "--raw-load-as=$value" "${small[@]}"
done
add raw-bare-16-sized few -d -c png --raw-load-as=16 --raw-width=640 --raw-height=480 --raw-header-size=1024
add raw-bare-8-square few -d -c png --raw-load-as=8 --raw-width=500 --raw-height=0
for ((k = 0; k < $(keyword_count --raw-tone-mapping); ++k)); do
  value=$(keyword --raw-tone-mapping "$k")
  case $value in AL | NONE) input=few ;; *) input=one ;; esac
  add "tone-mapping-$value" "$input" -d -c tiff --raw-load-as=48HS "--raw-tone-mapping=$value" "${small[@]}"
done
add tone-mapping-full-48-gd one -d -c png --raw-load-as=48 --raw-tone-mapping=GD "${small[@]}"

# Encoder options: every keyword, each with a bit depth it applies to.
bmp_runs=$(keyword_count --bmp-compression)
[ "$(keyword_count --bmp-color-table)" -le "$bmp_runs" ] || bmp_runs=$(keyword_count --bmp-color-table)
for ((k = 0; k < bmp_runs; ++k)); do
  add "bmp-options-$k" few -d -c bmp --bmp-bpp=8 "--bmp-compression=$(keyword --bmp-compression "$k")" \
    "--bmp-color-table=$(keyword --bmp-color-table "$k")" "${small[@]}"
done
add bmp-rle-4 few -d -c bmp --bmp-bpp=4 --bmp-compression=RLE "${small[@]}"
for ((k = 0; k < $(keyword_count --exr-compression); ++k)); do
  value=$(keyword --exr-compression "$k")
  add "exr-compression-$value" few -d -c exr "--exr-compression=$value" "${small[@]}"
done
for ((k = 0; k < 4; ++k)); do
  add "jpg-options-$k" few -d -c jpg "--jpg-quality=$((40 + 20 * k))" "--jpg-chroma=$(keyword --jpg-chroma "$k")" \
    "--jpg-save-as=$(keyword --jpg-save-as "$k")" "${small[@]}"
done
add jpg-greyscale-progressive few -d -c jpg --jpg-bpp=8 --jpg-save-as=PROGRESSIVE "${small[@]}"
for ((k = 0; k < $(keyword_count --png-compression); ++k)); do
  value=$(keyword --png-compression "$k")
  interlaced=(); if ((k % 2)); then interlaced=(--png-interlaced); fi
  add "png-compression-$value" few -d -c png "--png-compression=$value" "${interlaced[@]}" "${small[@]}"
done
add png-interlaced-48 few -d -c png --png-bpp=48 --png-interlaced --raw-load-as=48HS --raw-tone-mapping=NONE \
  "${small[@]}"
for ((k = 0; k < $(keyword_count --tga-compression); ++k)); do
  value=$(keyword --tga-compression "$k")
  add "tga-compression-$value" few -d -c tga "--tga-compression=$value" "${small[@]}"
done
add tga-rle-8 few -d -c tga --tga-bpp=8 --tga-compression=RLE "${small[@]}"
add tga-rle-16 few -d -c tga --tga-bpp=16 --tga-compression=RLE "${small[@]}"
for ((k = 0; k < $(keyword_count --tiff-compression); ++k)); do
  value=$(keyword --tiff-compression "$k")
  case $value in CCITTFAX3 | CCITTFAX4) depth=1 ;; JPEG) depth=24 ;; LOGLUV) depth=96 ;; *) depth=0 ;; esac
  add "tiff-compression-$value" few -d -c tiff "--tiff-compression=$value" "--tiff-bpp=$depth" \
    "--tiff-color-mode=$(keyword --tiff-color-mode "$k")" "${small[@]}"
done
for ((k = 0; k < $(keyword_count --tiff-color-mode); ++k)); do
  value=$(keyword --tiff-color-mode "$k")
  add "tiff-color-mode-$value-48" few -d -c tiff --tiff-bpp=48 "--tiff-color-mode=$value" "${small[@]}"
done
add webp-quality-75 few -d -c webp --webp-quality=75 "${small[@]}"
# A keyword of another format's compression list stands for its number in that list.
add compression-other-list-bmp one -d -c bmp --bmp-compression=LZW
add compression-other-list-png one -d -c png --png-compression=LOGLUV
add compression-other-list-exr one -d -c exr --exr-compression=ZLIB9
add compression-other-list-tga one -d -c tga --tga-compression=PIZ
add compression-other-list-tiff one -d -c tiff --tiff-compression=RLE
add keyword-unknown-is-first one -d -c png --resize-algorithm=NOSUCH --width=50 --height=50
add keyword-and-name-any-case one -d -c png --Resize-Algorithm=lanczos --WIDTH=50 --height=50 --jpg-chroma=high

# Geometry: every resize algorithm, with the units, kept proportions and LARGEIMAGES among them.
resize_variants=(
  "--width=400 --height=300"
  "--width=25 --height=25 --width-unit=PERCENT --height-unit=PERCENT --keep-aspect-ratio"
  "--width=1000 --height=1000 --keep-aspect-ratio --resize-type=LARGEIMAGES"
  "--width=10 --height=30 --width-unit=PERCENT --height-unit=PERCENT --resize-type=ALLIMAGES"
  "--width=50 --height=200 --width-unit=PERCENT --height-unit=PIXELS"
  "--width=200 --height=200 --keep-aspect-ratio --width-unit=PIXELS"
)
for ((k = 0; k < $(keyword_count --resize-algorithm); ++k)); do
  value=$(keyword --resize-algorithm "$k")
  read -r -a variant <<<"${resize_variants[$((k % ${#resize_variants[@]}))]}"
  add "resize-$value" few -d -c png "--resize-algorithm=$value" "${variant[@]}"
done
add resize-lanczos few -d -c png --resize-algorithm=LANCZOS --width=640 --height=480
add resize-largeimages few -d -c png --resize-type=LARGEIMAGES --width=700 --height=700 --keep-aspect-ratio
for ((k = 0; k < $(keyword_count --rotation-type); ++k)); do
  value=$(keyword --rotation-type "$k")
  add "rotation-$value-30" few -d -c png "--rotation-type=$value" --rotation=30 --rotation-back-color=FF8000 \
    "${small[@]}"
  add "rotation-$value-200" one -d -c png "--rotation-type=$value" --rotation=200 "${small[@]}"
done
add rotation-90-all all -d -c jpg --rotation=90 "${small[@]}"
for angle in 45 180 270 359 360 0 -30; do
  add "rotation-$angle" one -d -c png "--rotation=$angle" "${small[@]}"
done
add rotation-bad-colour one -d -c png --rotation=10 --rotation-back-color=nocolour "${small[@]}"
add flip-horizontal few -d -c png --flip-horizontal "${small[@]}"
add flip-vertical few -d -c png --flip-vertical "${small[@]}"
add flip-both few -d -c png --flip-horizontal --flip-vertical=no "${small[@]}"

# Colours, greyscale, threshold, every dither algorithm.
add colours-1 few -d -c png --brightness=20 --contrast=-30 --gamma=2.2 "${small[@]}"
add colours-2 few -d -c png --invert --gamma=0.45 --contrast=60 "${small[@]}"
add colours-3 few -d -c jpg --brightness=-15 --contrast=25 --gamma=1.8 --invert "${small[@]}"
add greyscale few -d -c png --greyscale "${small[@]}"
add greyscale-tiff few -d -c tiff --greyscale "${small[@]}"
add threshold few -d -c png --threshold=128 "${small[@]}"
add threshold-greyscale-bmp1 few -d -c bmp --bmp-bpp=1 --threshold=90 --greyscale "${small[@]}"
for ((k = 0; k < $(keyword_count --dither); ++k)); do
  value=$(keyword --dither "$k")
  add "dither-$value" few -d -c png "--dither=$value" "${small[@]}"
done
add dither-threshold few -d -c png --dither=BAYER8 --threshold=100 "${small[@]}"

# Frames.
add frame-all-sides few -d -c jpg --fr-solid-left=10 --fr-solid-right=20 --fr-solid-top=5 --fr-solid-bottom=15 \
  --fr-solid-left-color=FF0000 --fr-solid-right-color=00FF00 --fr-solid-top-color=0000FF \
  --fr-solid-bottom-color=FFFF00 --fr-solid-opacity=128 "${small[@]}"
add frame-top-only few -d -c png --fr-solid-top=30 --fr-solid-top-color=808080 "${small[@]}"
add frame-bad-colour-clear few -d -c png --fr-solid-left=40 --fr-solid-left-color=xyz --fr-solid-opacity=0 "${small[@]}"
add frame-wider-than-picture few -d -c png --fr-solid-left=400 --fr-solid-bottom=400 --fr-solid-opacity=255 \
  "${small[@]}"

# Text watermarks: every position, style, effect, alignment, boundary and size mode, with tokens.
texts=(
  '%filename% #%n%%eol%%width% x %height%, %bpp% bpp'
  '%filename[u]% %ext[u]% %frame%'
  '© Lumivane %filename[t]%.%ext[t]%%eol%second line%eol%third'
  'plain %filename[l]% %ext%'
)
for ((k = 0; k < $(keyword_count --wm-text-position); ++k)); do
  boundary=$(keyword --wm-text-boundary "$k")
  frame=(); if [ "$boundary" = FRAME ]; then frame=(--fr-solid-left=12 --fr-solid-top=20 --fr-solid-right=6); fi
  smooth=(); if ((k % 2)); then smooth=(--wm-text-antialiasing); fi
  add "text-watermark-$k" few -d -c png "--wm-text=${texts[$((k % ${#texts[@]}))]}" \
    "--wm-text-position=$(keyword --wm-text-position "$k")" "--wm-font-style=$(keyword --wm-font-style "$k")" \
    "--wm-font-effect=$(keyword --wm-font-effect "$k")" "--wm-text-alignment=$(keyword --wm-text-alignment "$k")" \
    "--wm-text-boundary=$boundary" "--wm-text-size=$(keyword --wm-text-size "$k")" "${frame[@]}" "${smooth[@]}" \
    "--wm-text-rotation=$((k * 40))" "--wm-font-size=$((9 + 2 * k))" "--wm-font-leading=$((k - 4))" \
    "--wm-font-color=$(printf '%02X%02X%02X' $((k * 28)) $((255 - k * 28)) 128)" "--wm-text-padding=$k" \
    "--wm-text-opacity=$((255 - 25 * k))" --wm-back-color=102030 "--wm-back-opacity=$((30 * k))" \
    "--wm-text-x-offset=$((3 * k))" "--wm-text-y-offset=$((20 - 3 * k))" "${small[@]}"
done
add text-watermark-all all -d -c jpg '--wm-text=%n% %filename% %width%x%height%' --wm-font-style=bold \
  --wm-text-position=middlecenter --wm-text-rotation=30 --wm-text-antialiasing --wm-font-size=20 --jobs=2 "${small[@]}"
add text-watermark-serif few -d -c png '--wm-text=Serif %ext%' '--wm-font=DejaVu Serif' --wm-font-size=16 "${small[@]}"
add text-watermark-bpp-auto few -d -c bmp '--wm-text=%bpp%' --jobs=2 "${small[@]}"
add text-watermark-default-text few -d -c png --wm-text= "${small[@]}"

# Picture watermarks: every position, boundary and size mode; PNG, JPEG and BMP pictures.
pictures=(png jpg bmp)
for ((k = 0; k < $(keyword_count --wm-image-position); ++k)); do
  boundary=$(keyword --wm-image-boundary "$k")
  frame=(); if [ "$boundary" = FRAME ]; then frame=(--fr-solid-bottom=25 --fr-solid-right=10); fi
  grey=(); if ((k % 2)); then grey=(--wm-image-greyscale); fi
  add "picture-watermark-$k" few -d -c png "--wm-image=$scratch/watermark.${pictures[$((k % 3))]}" \
    "--wm-image-position=$(keyword --wm-image-position "$k")" "--wm-image-boundary=$boundary" \
    "--wm-image-size=$(keyword --wm-image-size "$k")" "${frame[@]}" "${grey[@]}" "--wm-image-rotation=$((k * 45))" \
    "--wm-image-opacity=$((255 - 30 * k))" "--wm-image-x-offset=$((2 * k))" "--wm-image-y-offset=$((16 - 2 * k))" \
    "${small[@]}"
done
add picture-watermark-top-left few -d -c jpg "--wm-image=$scratch/watermark.png" --wm-image-position=topleft \
  --wm-image-opacity=200 "${small[@]}"
add picture-watermark-relative few -d -c png --wm-image=../watermark.bmp "${small[@]}"
add picture-watermark-missing one -d -c png "--wm-image=$scratch/no-such-picture.png"
add picture-watermark-empty one -d -c png "--wm-image=$scratch/empty.png"

# Names and folders: masks with tokens (none that depend on the clock or chance), no subfolders, file times.
add mask-counter-depth few -d -c png '--filename-mask=%filename[u]%_%n%_%bpp%.%ext%' "${small[@]}"
add mask-size-frame few -d -c jpg '--filename-mask=%filename[l]%-%width%x%height%-%frame%.%ext[u]%' "${small[@]}"
add mask-title-case few -d -c png '--filename-mask=Photo %filename[t]%.%ext[t]%' "${small[@]}"
add mask-plain-text few -d -c png '--filename-mask=same name.png' "${small[@]}"
add mask-no-extension few -d -c png '--filename-mask=%filename%' "${small[@]}"
add mask-subfolder-all all -d -c png '--filename-mask=%ext%-%n%.%ext%' "${small[@]}"
add no-subfolders-all all -d -c jpg --no-subfolders '--filename-mask=%filename%_%n%.%ext%' "${small[@]}"
for ((k = 0; k < $(keyword_count --file-timestamp); ++k)); do
  value=$(keyword --file-timestamp "$k")
  case $value in
    CURRENT) add "file-time-$value" few -d -c png "--file-timestamp=$value" "${small[@]}" ;;
    CUSTOM) add_timed "file-time-$value" few -d -c png "--file-timestamp=$value" --file-timestamp-custom=1700000000 \
              "${small[@]}" ;;
    *) add_timed "file-time-$value" few -d -c png "--file-timestamp=$value" "${small[@]}" ;;
  esac
done

# --jobs, profiles, quiet and plain console, inputs of each kind.
add jobs-1-all all -d -c jpg --jobs=1 "${small[@]}"
add jobs-2-all all -d -c jpg --jobs=2 "${small[@]}"
add jobs-0 few -d -c png --jobs=0 "${small[@]}"
add jobs-2-plain few -c png --jobs=2 "${small[@]}"
add profile few -d -c jpg "--profile=$scratch/profile.ini" --jpg-quality=90
add profile-then-override few -d -c png --greyscale "--profile=$scratch/profile-empty-values.ini" --width=100 \
  --height=100
add quiet few -q -c png "${small[@]}"
add quiet-debug few -q -d -c png "${small[@]}"
add plain-console few -c png "${small[@]}"
add pause one -p -d -c png "${small[@]}"
add input-one-file one -d -c jpg
add input-file-relative - -d -i "$(realpath --relative-to="$scratch/cwd" "$one_input")" -o "$out" -c png "${small[@]}"
add input-empty-folder - -d -i "$scratch/empty/" -o "$out" -c png
add input-folder-of-odd - -d -i "$scratch/in/odd/" -o "$out" -c png "${small[@]}"

# Numeric bounds and one past them, and the other "Error: " lines.
for value in 0 1 100 101; do
  add "bound-jpg-quality-$value" one -d -c jpg "--jpg-quality=$value"
  add "bound-webp-quality-$value" one -d -c webp "--webp-quality=$value"
done
for value in -101 -100 100 101; do
  add "bound-brightness-$value" one -d -c png "--brightness=$value"
  add "bound-contrast-$value" one -d -c png "--contrast=$value"
done
for value in 0.00 0.005 0.01 9.99 9.995 10; do add "bound-gamma-$value" one -d -c png "--gamma=$value"; done
for value in -1 0 255 256; do add "bound-threshold-$value" one -d -c png "--threshold=$value"; done
add bound-width-0 one -d -c png --width=0 --height=100
add bound-height-0 one -d -c png --width=100 --height=0
add bound-font-size-0 one -d -c png --wm-text=x --wm-font-size=0
add bound-font-size-1 one -d -c png --wm-text=x --wm-font-size=1
add bound-opacity-256 one -d -c png --fr-solid-top=5 --fr-solid-opacity=256 --wm-text=x --wm-text-opacity=300
# shellcheck disable=SC2016  # "$" starts hexadecimal digits for the program, not a shell expansion
add numbers-suffix-hex-binary one -d -c png '--width=12px' '--height=$40' '--rotation=%101'
add number-double-minus one -d -c png --brightness=--5
add error-format-case - -d -i "$one_input" -o "$out" -c JPG
add error-format-unknown - -d -i "$one_input" -o "$out" -c tif
add error-output-missing - -d -i "$one_input" -o "$scratch/no-such-folder"
add error-input-missing - -d -i "$scratch/no-such-file.dng" -o "$out"
add error-input-dotdot - -d -i ../in/ -o "$out"
add error-output-dotdot - -d -i "$all_input" -o ../out
add error-missing-value - -d -i -o "$out"
add error-jobs-word one -d --jobs=two
add error-jobs-too-many one -d --jobs=1025
add error-jobs-empty one -d --jobs=
add error-profile-missing one -d "--profile=$scratch/no-such-profile.ini"
add no-arguments -
add no-input - -d -o "$out"
add help - -h
add version - --version

# Any keyword of the guide that no run above uses: listing runs on one file, one keyword of each option per run.
uncovered=()
for option in "${keyword_options[@]}"; do
  for value in ${keywords[$option]}; do
    [ -n "${used[$option=$value]:-}" ] || uncovered+=("$option=$value")
  done
done
for ((k = 0; ${#uncovered[@]} > 0; ++k)); do
  batch=(); rest=(); declare -A taken=()
  for pair in "${uncovered[@]}"; do
    option=${pair%%=*}
    if [ -z "${taken[$option]:-}" ]; then taken[$option]=1; batch+=("$pair"); else rest+=("$pair"); fi
  done
  unset taken
  add "keywords-$k" one -d -c png "${batch[@]}"
  uncovered=("${rest[@]}")
done

# ---- Running and comparing ----

# The ImageMagick coder for a file: its extension when that is an output format, else the run's format.
declare -A is_format=()
for format in "${formats[@]}"; do is_format[$format]=1; done
# pixel_signature FORMAT FILE: one line per frame with its size and the hash of its pixels; fails when
# ImageMagick cannot decode the file.
pixel_signature() {
  local signature
  signature=$(identify -format '%wx%h %#\n' "$1:$2" 2>/dev/null) && [ -n "$signature" ] && echo "$signature"
}

# short SIGNATURE: the first frame's size and the start of its hash.
short() { local first=${1%%$'\n'*}; echo "${first%% *} ${first#* }" | cut -c1-28; }

# run_side SIDE: runs the current run with the base program (SIDE base, or base2 for a second run) or the new one
# (new, new2); leaves SIDE.stdout, SIDE.code, the output folder SIDE.out and its entries SIDE.files in the results
# folder. The second runs fill memory with other bytes.
run_side() {
  local side=$1 which=base perturb=165
  if [[ $side == new* ]]; then which=new; fi
  if [[ $side == *2 ]]; then perturb=90; fi
  rm -rf "$out" "$result/$side.out"
  mkdir "$out"
  run_program "$which" "${arguments[@]}" >"$result/$side.code"
  mv "$scratch/stdout" "$result/$side.stdout"
  mv "$out" "$result/$side.out"
  (cd "$result/$side.out" && find . -mindepth 1 -printf '%y %P\n' | LC_ALL=C sort) >"$result/$side.files"
}

# differing_offsets A B: the offsets at which two files of one size differ, one a line (gives up past 100000).
differing_offsets() { { cmp -l "$1" "$2" || true; } | awk 'NR > 100000 { exit 1 } { print $1 }'; }

# unstable FILE: whether a second run of either program, with memory filled with other bytes, writes FILE with other
# bytes than its first run: bytes of uninitialised memory. The second runs of both programs are made when a run
# first needs them.
unstable() {
  local file=$1
  if [ "$rerun" = 0 ]; then run_side base2; run_side new2; rerun=1; fi
  [ -f "$result/base2.out/$file" ] && [ -f "$result/new2.out/$file" ] || return 1
  ! cmp -s "$result/base.out/$file" "$result/base2.out/$file" ||
    ! cmp -s "$result/new.out/$file" "$result/new2.out/$file"
}

# only_unstable_bytes FILE: whether the base and new copies of an unstable FILE, of one size, differ only at offsets
# where the first and second runs of a program differ too (ImageMagick's pixels are compared first when it decodes
# the file).
only_unstable_bytes() {
  local file=$1 side size unstable_offsets differing
  size=$(stat -c %s "$result/base.out/$file")
  for side in base2 new new2; do
    [ "$(stat -c %s "$result/$side.out/$file")" = "$size" ] || return 1
  done
  unstable_offsets=$({ differing_offsets "$result/base.out/$file" "$result/base2.out/$file" &&
                       differing_offsets "$result/new.out/$file" "$result/new2.out/$file"; } |
                     LC_ALL=C sort -u) || return 1
  differing=$(differing_offsets "$result/base.out/$file" "$result/new.out/$file" | LC_ALL=C sort -u) || return 1
  [ -z "$(LC_ALL=C comm -23 <(echo "$differing") <(echo "$unstable_offsets"))" ]
}

imagemagick=0
if command -v identify >/dev/null; then imagemagick=1; fi
total_files=0; differing_runs=0; bytes_only=0
unstable_files=()
declare -A undecodable=()
result=$scratch/results
runs_started=$(date +%s)
for ((r = 0; r < ${#run_names[@]}; ++r)); do
  name=${run_names[$r]}
  IFS=$'\x1f' read -r -a arguments <<<"${run_lines[$r]}"
  [ -n "${run_lines[$r]}" ] || arguments=()
  run_format=bmp
  for ((a = 0; a + 1 < ${#arguments[@]}; ++a)); do
    if [ "${arguments[$a]}" = -c ]; then run_format=${arguments[$((a + 1))]}; fi
  done
  if [ -t 2 ]; then printf '\r\033[K[%d/%d] %s' $((r + 1)) ${#run_names[@]} "$name" >&2; fi
  rm -rf "${result:?}"/*
  run_side base
  run_side new
  rerun=0

  problems=()
  if ! cmp -s "$result/base.stdout" "$result/new.stdout"; then
    problems+=("console differs:")
    while IFS= read -r line; do problems+=("    $line"); done < <(
      diff --text <(tr -d '\r' <"$result/base.stdout") <(tr -d '\r' <"$result/new.stdout") | grep '^[<>]' | head -n 6)
  fi
  base_code=$(<"$result/base.code"); new_code=$(<"$result/new.code")
  [ "$base_code" = "$new_code" ] || problems+=("exit code $base_code (base) against $new_code (new)")
  while IFS= read -r entry; do problems+=("only in base: $entry"); done < <(
    LC_ALL=C comm -23 "$result/base.files" "$result/new.files" | head -n 5)
  while IFS= read -r entry; do problems+=("only in new: $entry"); done < <(
    LC_ALL=C comm -13 "$result/base.files" "$result/new.files" | head -n 5)
  total_files=$((total_files + $(LC_ALL=C sort -u "$result/base.files" "$result/new.files" | grep -c '^f ' || true)))
  while IFS= read -r file; do
    base_file=$result/base.out/$file; new_file=$result/new.out/$file
    if [ "${run_timed[$r]}" = 1 ] && [ "$(stat -c %Y "$base_file")" != "$(stat -c %Y "$new_file")" ]; then
      problems+=("$file: modification time $(stat -c %Y "$base_file") (base) against $(stat -c %Y "$new_file") (new)")
    fi
    cmp -s "$base_file" "$new_file" && continue
    coder=${file##*.}; coder=${coder,,}
    [ -n "${is_format[$coder]:-}" ] && [[ $file == *.* ]] || coder=$run_format
    decoded=0
    if [ "$pixels" = 1 ] || { [ "$imagemagick" = 1 ] && unstable "$file"; }; then
      if base_signature=$(pixel_signature "$coder" "$base_file") &&
         new_signature=$(pixel_signature "$coder" "$new_file"); then
        decoded=1
      elif [ "$pixels" = 1 ]; then
        undecodable[$coder]=$((${undecodable[$coder]:-0} + 1))
      fi
    fi
    if [ "$decoded" = 1 ] && [ "$base_signature" = "$new_signature" ]; then
      if [ "$pixels" = 1 ]; then bytes_only=$((bytes_only + 1)); else unstable_files+=("$name: $file (pixels)"); fi
      continue
    fi
    if [ "$decoded" = 1 ]; then
      problems+=("$file: pixels differ ($(short "$base_signature") against $(short "$new_signature"))")
      continue
    fi
    if unstable "$file" && only_unstable_bytes "$file"; then
      unstable_files+=("$name: $file (bytes)")
      continue
    fi
    finding="bytes differ ($(stat -c %s "$base_file") against $(stat -c %s "$new_file") bytes"
    if [ "$pixels" = 1 ]; then finding+="; ImageMagick cannot decode it"; fi
    problems+=("$file: $finding)")
  done < <(LC_ALL=C comm -12 "$result/base.files" "$result/new.files" | sed -n 's/^f //p')

  if [ ${#problems[@]} -gt 0 ]; then
    differing_runs=$((differing_runs + 1))
    if [ -t 2 ]; then printf '\r\033[K' >&2; fi
    shown=${arguments[*]}
    echo "DIFFERS $name: ${#problems[@]} finding(s); lumivanecmd ${shown//$scratch/<scratch>}"
    printf '    %s\n' "${problems[@]:0:12}"
    [ ${#problems[@]} -le 12 ] || echo "    ... and $((${#problems[@]} - 12)) more"
    mkdir -p "$differences_dir/$name"
    for side in base new; do
      for kept in stdout code out; do mv "$result/$side.$kept" "$differences_dir/$name/$side-$kept"; done
    done
  fi
done
if [ -t 2 ]; then printf '\r\033[K' >&2; fi

echo "the runs took $(($(date +%s) - runs_started)) s, the whole comparison $(($(date +%s) - started)) s"
if [ ${#unstable_files[@]} -gt 0 ]; then
  echo "${#unstable_files[@]} output file(s) hold bytes of uninitialised memory (they change with MALLOC_PERTURB_)" \
    "and differ between the programs only there, or not in their pixels:"
  printf '    %s\n' "${unstable_files[@]:0:10}"
  [ ${#unstable_files[@]} -le 10 ] || echo "    ... and $((${#unstable_files[@]} - 10)) more"
fi
if [ "$pixels" = 1 ]; then
  [ "$bytes_only" = 0 ] || echo "$bytes_only output file(s) differ in their bytes but not in their pixels"
  if [ ${#undecodable[@]} -gt 0 ]; then
    printf 'ImageMagick could not decode differing files of:'
    for coder in "${!undecodable[@]}"; do printf ' %s (%d)' "$coder" "${undecodable[$coder]}"; done
    echo
  fi
fi
if [ "$differing_runs" = 0 ]; then
  echo "compared ${#run_names[@]} runs, $total_files output files: all identical"
  exit 0
fi
echo "compared ${#run_names[@]} runs, $total_files output files: $differing_runs run(s) differ" \
  "(both sides of each are in build-compare/differences/)"
exit 1
