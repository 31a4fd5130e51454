#!/bin/sh
# Runs EXIT_TEST (exit_code.cpp) on the platform the environment names: it
# must end with the exit code 3 it asks for, after its aboutToQuit handler and
# the window's destruction.
# Usage: exit_code.sh EXIT_TEST
out=$(timeout -s KILL 60 "$1")
rc=$?
if [ "$rc" -ne 3 ] || [ "$out" != "$(printf 'aboutToQuit\nwindow destroyed')" ]; then
    echo "FAIL: exit code $rc (3 asked for), printed: $out"
    exit 1
fi
echo "exit code 3 asked for, exit code 3"
