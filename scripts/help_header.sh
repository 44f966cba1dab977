#!/bin/sh
# Writes the help text of a command (the leading comment block of its .m
# file) as a C string, KV_HELP, for the Octave build's function docstring:
#   scripts/help_header.sh src/commands/KVBegin.m > KVBegin_help.h
# The .m file stays the one source of every command's help.
awk '
  BEGIN { printf "#define KV_HELP \"" }
  /^%/ {
    line = substr($0, 2)
    gsub(/\\/, "\\\\", line)
    gsub(/"/, "\\\"", line)
    printf "%s\\n", line
    started = 1
    next
  }
  started { exit }
  END { print "\"" }
' "$1"
