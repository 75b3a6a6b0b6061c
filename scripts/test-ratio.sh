#!/usr/bin/env bash
# Prints the non-blank lines of tests/ against those of src/ and tools/, and the percentage.
# Counted: .cpp .h .hpp .c .py .sh .txt .json files; the fuzz corpus folders are left out.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.c' \
    -o -name '*.py' -o -name '*.sh' -o -name '*.txt' -o -name '*.json' \) \
    -not -path '*/corpus/*' -print0 | xargs -0 -r cat | grep -c -v '^[[:space:]]*$' || true
}

tests=$(count tests)
code=$(count src tools)
awk -v t="$tests" -v c="$code" \
  'BEGIN { printf "tests: %d non-blank lines; src + tools: %d; tests are %.1f %% of the code\n", t, c, 100 * t / c }'
