#!/usr/bin/env bash
# Formats every C and C++ file of the repository by .clang-format; with --check it changes
# nothing, names the files that differ from their formatted form and fails when there are any.
# Usage: scripts/format.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-format >&2
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [[ "${1:-}" != "--check" ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
unformatted=()
for file in "${files[@]}"; do
    clang-format "$file" | cmp -s - "$file" || unformatted+=("$file")
done
if [[ ${#unformatted[@]} -gt 0 ]]; then
    echo "not formatted (scripts/format.sh formats them):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "format: ${#files[@]} files as .clang-format describes them" >&2
