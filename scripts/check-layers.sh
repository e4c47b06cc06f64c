#!/usr/bin/env bash
# Fails when an #include runs against the layers of src/:
#   base <- quantity, cad, controls <- project <- reports <- app
# Toolkit-free code (files directly in an area) may include its own area and the areas below
# it, never a widgets/ folder or platform/. Widgets (an area's widgets/ folder), platform/ and
# plugin/ may include anything but app/. Only src/app includes from app/.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed_core() {
    case "$1" in
        base) echo "base" ;;
        quantity | cad | controls) echo "base $1" ;;
        project) echo "base quantity cad controls project" ;;
        reports) echo "base quantity cad controls project reports" ;;
        *) echo "" ;;
    esac
}

status=0
while IFS= read -r -d '' file; do
    rel=${file#src/}
    area=${rel%%/*}
    [ "$area" = app ] && continue
    rest=${rel#*/}
    kind=core
    case "$rest" in widgets/* | demo/*) kind=widgets ;; esac
    case "$area" in platform | plugin) kind=widgets ;; esac
    while IFS= read -r line; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
        target_area=${target%%/*}
        [ "$target" = "$target_area" ] && continue  # a file of the same folder
        if [ "$target_area" = app ]; then
            echo "check-layers: $file includes $target (only src/app includes from app/)" >&2
            status=1
            continue
        fi
        [ "$kind" = widgets ] && continue
        if [[ "$target" == */widgets/* || "$target_area" = platform ]]; then
            echo "check-layers: $file includes $target (toolkit-free code includes no widgets)" >&2
            status=1
            continue
        fi
        if ! grep -qw -- "$target_area" <<<"$(allowed_core "$area")"; then
            echo "check-layers: $file includes $target ($area may not include $target_area)" >&2
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(git ls-files -z --cached --others --exclude-standard -- 'src/*.h' 'src/*.cpp')
exit $status
