#!/usr/bin/env bash
# Checks the files that tell the desktop about Vantorel: the desktop entry, the
# AppStream metadata and the MIME description of the library files.
# Usage: validate_desktop_files.sh <res folder>. Exits 77 (skipped) when a
# validator is not installed; scripts/install-deps installs them.
set -euo pipefail
res="$1"
for tool in desktop-file-validate appstreamcli update-mime-database; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (scripts/install-deps installs it): skipped"
    exit 77
  fi
done
desktop-file-validate "$res/vantorel.desktop"
appstreamcli validate --no-net "$res/vantorel.metainfo.xml"

# The MIME description must build a database, and the desktop entry must name
# exactly the types it defines.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp "$res/vantorel-mime.xml" "$tmp/mime/packages/"
# Pointed to by XDG_DATA_DIRS so that its only output is a complaint.
XDG_DATA_DIRS="$tmp" update-mime-database "$tmp/mime" >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
if [ -s "$tmp/log" ]; then cat "$tmp/log"; exit 1; fi
defined="$(grep -o 'mime-type type="[^"]*"' "$res/vantorel-mime.xml" | cut -d'"' -f2 | sort)"
listed="$(grep '^MimeType=' "$res/vantorel.desktop" | cut -d= -f2 | tr ';' '\n' | grep . | sort)"
if [ "$defined" != "$listed" ]; then
  echo "MimeType= in vantorel.desktop does not list the types of vantorel-mime.xml:"
  diff <(echo "$defined") <(echo "$listed") || true
  exit 1
fi
echo "desktop entry, metadata and MIME description are valid"
