#!/usr/bin/env bash
# Fails when a C++ source file of the repository differs from what .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "check-format: clang-format is not installed" >&2
    exit 1
fi
status=0
while IFS= read -r -d '' file; do
    if ! clang-format --style=file "$file" | cmp -s - "$file"; then
        echo "check-format: $file is not formatted (run clang-format -i $file)" >&2
        status=1
    fi
done < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h')
exit $status
