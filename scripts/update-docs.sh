#!/usr/bin/env bash
# Regenerates the manual page, the user guide and the bash completion from their templates, the descriptions in
# docs/reference-descriptions.txt and the program's own tables. Run it after changing any of these; the docs tests
# fail while a committed file differs from what this produces.
# Usage: scripts/update-docs.sh [path/to/lumivane_reference]   (default: builds it in $BUILD_DIR, else build/)
set -euo pipefail
cd "$(dirname "$0")/.."
generator=${1:-}
if [ -z "$generator" ]; then
  build_dir=${BUILD_DIR:-build}
  [ -f "$build_dir/CMakeCache.txt" ] || cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" --target lumivane_reference >/dev/null
  generator=$build_dir/lumivane_reference
fi
descriptions=docs/reference-descriptions.txt
while read -r kind template output; do
  if ! "$generator" "$kind" "$descriptions" "$template" > "$output.new"; then
    rm -f "$output.new"
    exit 1
  fi
  if cmp -s "$output.new" "$output"; then
    rm "$output.new"
  else
    mv "$output.new" "$output"
    echo "updated $output"
  fi
done <<'DOCUMENTS'
man docs/lumivanecmd.1.in docs/lumivanecmd.1
markdown docs/user-guide.md.in docs/user-guide.md
bash completion/lumivanecmd.bash.in completion/lumivanecmd.bash
DOCUMENTS
