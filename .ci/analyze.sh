#!/usr/bin/env bash
# Static analysis of src/ with cppcheck and clang-tidy, from the
# compile_commands.json of a CMake configuration made with clang++ (clang-tidy
# reads the flags as clang understands them). Any finding fails.
#
#   .ci/analyze.sh BUILDDIR JOBS
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1
jobs=${2:-2}
failed=0

# cppcheck: warnings, style, performance and portability. useStlAlgorithm is
# off: the pixel loops are written out on purpose, one short loop per job.
# Other false positives are silenced where they occur (cppcheck-suppress with
# the reason).
echo "== cppcheck"
if ! cppcheck --project="$build/compile_commands.json" --file-filter='src/*' \
    --enable=warning,style,performance,portability --suppress=useStlAlgorithm --inline-suppr \
    --error-exitcode=1 -j "$jobs" --quiet --template='{file}:{line}: {severity} ({id}): {message}'; then
  failed=1
fi

# clang-tidy: the checks in .clang-tidy, findings as errors.
echo "== clang-tidy"
if ! run-clang-tidy -p "$build" -j "$jobs" -quiet "$PWD/src/" >"$build/clang-tidy.log" 2>&1; then
  failed=1
  grep -E '(warning|error): ' "$build/clang-tidy.log" | sort -u
fi

if [ "$failed" = 0 ]; then echo "static analysis: no findings"; fi
exit $failed
