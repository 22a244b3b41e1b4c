#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What help2man reads as "rollcraft --help": the tool's own help, then every
# command's, so that the manual page says what --help says and cannot drift
# from it. The commands are the ones the tool's help lists.
# Usage: help-text.sh ROLLCRAFT --help
set -eu
tool=$1
[ "${2:-}" = --help ] || exit 64
top=$("$tool" --help)
commands=$(printf '%s\n' "$top" | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p')

# help2man makes the usage lines the synopsis.
printf '%s\n' "$top" | sed -n 1p
for c in $commands; do
    "$tool" "$c" --help | sed -n 's/^Usage: /  or:  /p'
done
printf '%s\n\n*Commands*\n' "$(printf '%s\n' "$top" | sed 1d)"
# Each command a subsection: its usage line ending in ':' with its text
# indented under it (help2man's sign of a subsection), its options and
# arguments without their headings.
for c in $commands; do
    "$tool" "$c" --help | sed -e '/^Options:$/d' -e '/^Arguments:$/d' -e '/^  -h, --help /d' \
        -e '1s/^Usage: \(.*\)/\1:/' -e '2,$s/^\([^ ]\)/ \1/'
    echo
done
