# Sourced by the sanitizer and fuzz scripts: any report ends the process with
# a failure (the build adds -fno-sanitize-recover=all for the undefined-
# behaviour checks; these options do the same for the address checks).
export CC=clang CXX=clang++
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=${root:?}/tests/sanitizer/leak_suppressions.txt:print_suppressions=0"
