#!/bin/sh
# Runs a checking tool, or reports the check as skipped (exit 77) when the tool is not
# installed. With --silent, any output from the tool counts as a failure too (some
# validators print warnings and still exit 0).
# Usage: run-if-installed.sh [--silent] TOOL ARGS...
silent=
if [ "$1" = --silent ]; then
    silent=1
    shift
fi
if ! command -v "$1" >/dev/null 2>&1; then
    echo "$1 is not installed: skipped"
    exit 77
fi
if [ -z "$silent" ]; then
    exec "$@"
fi
out=$("$@" 2>&1)
rc=$?
[ -n "$out" ] && printf '%s\n' "$out"
[ "$rc" -eq 0 ] && [ -z "$out" ]
