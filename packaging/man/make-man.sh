#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes rollcraft.1.gz and rollcraft2.1.gz into OUTDIR with help2man: the
# tool's page from its own --help texts, the plug-in's (which has no --help:
# it answers nothing but -startplugin) from rollcraft2.h2m.
# Usage: make-man.sh OUTDIR ROLLCRAFT VERSION
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1 tool=$2 version=$3
# Defaults the help texts show are the reader's folders, not the builder's.
export HOME='~' TMPDIR=/tmp LC_ALL=C.UTF-8
unset XDG_CONFIG_HOME
mkdir -p "$out"

help2man --no-info --section=1 --manual="User Commands" --source="Rollcraft II $version" \
    --version-string="rollcraft (Rollcraft II) $version" --include="$here/rollcraft.h2m" \
    --output="$out/rollcraft.1" "sh $here/help-text.sh $tool"
# help2man keeps the colon that marked each command's subsection.
sed -i 's/^\.SS "\(.*\):"$/.SS "\1"/' "$out/rollcraft.1"

help2man --no-info --section=1 --manual="User Commands" --source="Rollcraft II $version" \
    --version-string="rollcraft2 (Rollcraft II) $version" --include="$here/rollcraft2.h2m" \
    --output="$out/rollcraft2.1" "echo Usage: rollcraft2 -startplugin #"

for page in rollcraft.1 rollcraft2.1; do
    gzip -9nf "$out/$page"
done
