#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the project differs from what
# clang-format makes of it. Fix with:  clang-format -i FILE...
#   check_format.sh CLANG_FORMAT SOURCE_ROOT
set -euo pipefail
clang_format=$1
cd "$2"
mapfile -d '' files < <(find src tools tests bench -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 | sort -z)
unformatted=()
for file in "${files[@]}"; do
  "$clang_format" --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "not formatted as .clang-format says (clang-format -i FILE):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "${#files[@]} files formatted"
