#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package with the ecosystem's own checkers, then unpacks it
# into a scratch root and runs the programs from there.
# Usage: packaging/check.sh rollcraft2_VERSION_ARCH.deb BUILD_DIR
set -euo pipefail
deb="$(realpath "$1")"
build="$(realpath "$2")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
docs="$root/usr/share/doc/rollcraft2"

echo "== desktop-file-validate, appstreamcli validate"
desktop-file-validate "$root"/usr/share/applications/*.desktop
# The window carries the entry's name (Wayland app id, X11 resource name): the
# entry's StartupWMClass says the same, so a dock shows the entry's icon.
for entry in "$root"/usr/share/applications/*.desktop; do
    grep -qx "StartupWMClass=$(basename "$entry" .desktop)" "$entry"
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/rollcraft2.svg" ]
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

echo "== lintian (warnings fail unless usr/share/lintian/overrides/rollcraft2 explains them)"
lintian --fail-on error,warning --display-info --pedantic "$deb" 2>&1 |
    { grep -v '^running with root privileges' || true; }

echo "== the unpacked programs"
export HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" XDG_RUNTIME_DIR="$root/run"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The installed example renders the page the build tree's does...
diff <("$bin/rollcraft" render "$docs/examples/menu.rk2") \
    <("$build/bin/rollcraft" render "$build/examples/menu.rk2")
# ...and names pictures the package holds (moved under the scratch root here).
sed "s|/usr/share/|$root/usr/share/|" "$docs/examples/menu.rk2" >"$root/menu.rk2"
"$bin/rollcraft" check "$root/menu.rk2" >/dev/null
"$bin/rollcraft" --version | grep -qx "rollcraft (Rollcraft II) [0-9.]*"
# Without -startplugin the plug-in does nothing at all.
[ -z "$("$bin/rollcraft2" 2>&1)" ]
[ -z "$("$bin/rollcraft2" -StartPlugin 2>&1)" ]

# "rollcraft <TAB>" offers the commands the tool's help lists.
PATH="$bin:$PATH" bash -c 'source /usr/share/bash-completion/bash_completion && source "$1"
    COMP_WORDS=(rollcraft "") COMP_CWORD=1 COMP_LINE="rollcraft " COMP_POINT=10
    _rollcraft rollcraft "" rollcraft
    [ "${COMPREPLY[*]}" = "host render check copy-images draw --help --version" ]' \
    - "$root/usr/share/bash-completion/completions/rollcraft"

# With it, it takes its name on the bus; each property it publishes there is
# described in its manual page.
dbus-run-session -- bash -euo pipefail -c '
    "$1/rollcraft2" -startplugin &
    plugin=$!
    trap "kill $plugin; wait $plugin || true" EXIT
    for _ in $(seq 100); do
        if link="$(gdbus introspect --session --dest org.tarnwick.plugin.rollcraft2 \
            --object-path /PLUGIN 2>/dev/null)"; then
            break
        fi
        sleep 0.1
    done
    [ -n "${link:-}" ] || { echo "org.tarnwick.plugin.rollcraft2 did not appear" >&2; exit 1; }
    page="$(MANWIDTH=200 man -l "$2/usr/share/man/man1/rollcraft2.1.gz" 2>/dev/null)"
    properties="$(printf "%s\n" "$link" | sed -n "/interface org.tarnwick.Plugin/,/};/s/.* readonly s \([A-Z]*\) =.*/\1/p")"
    [ "$(echo $properties)" = "SCRIPT SCRIPTTYPE PREVIEW SCRIPTSET" ]
    for p in $properties; do
        grep -qw "$p" <<<"$page" || { echo "rollcraft2(1) does not describe $p" >&2; exit 1; }
    done
    echo "org.tarnwick.plugin.rollcraft2 answers at /PLUGIN with: $(echo $properties)"
' check "$bin" "$root"
echo "package checks passed: $(basename "$deb")"
