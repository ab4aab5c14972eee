#!/usr/bin/env bash
# Checks the files that tell the desktop about Vantorel: the desktop entry, the
# AppStream metadata and the MIME description of the library files.
# Usage: validate_desktop_files.sh <res folder> <folder the build wrote the
# desktop entry and the MIME description into>. Exits 77 (skipped) when a
# validator is not installed; scripts/install-deps installs them.
set -euo pipefail
res="$1"
written="$2"
for file in vantorel.desktop vantorel-mime.xml vantorel.metainfo.xml; do
  if [ ! -f "$written/$file" ]; then
    echo "$written/$file is missing: build the target vantorel_desktop_files first"
    exit 1
  fi
done
for tool in desktop-file-validate appstreamcli update-mime-database; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (scripts/install-deps installs it): skipped"
    exit 77
  fi
done
desktop-file-validate "$written/vantorel.desktop"
appstreamcli validate --no-net "$written/vantorel.metainfo.xml"

# The MIME description must build a database, and the desktop entry and the
# metadata must name exactly the types it defines.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp "$written/vantorel-mime.xml" "$tmp/mime/packages/"
# Pointed to by XDG_DATA_DIRS so that its only output is a complaint.
XDG_DATA_DIRS="$tmp" update-mime-database "$tmp/mime" >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
if [ -s "$tmp/log" ]; then cat "$tmp/log"; exit 1; fi
defined="$(grep -o 'mime-type type="[^"]*"' "$written/vantorel-mime.xml" | cut -d'"' -f2 | sort)"
listed="$(grep '^MimeType=' "$written/vantorel.desktop" | cut -d= -f2 | tr ';' '\n' | grep . | sort)"
if [ "$defined" != "$listed" ]; then
  echo "MimeType= in vantorel.desktop does not list the types of vantorel-mime.xml:"
  diff <(echo "$defined") <(echo "$listed") || true
  exit 1
fi
provided="$(grep -o '<mediatype>[^<]*' "$written/vantorel.metainfo.xml" | cut -d'>' -f2 | sort)"
if [ "$defined" != "$provided" ]; then
  echo "The mediatypes of vantorel.metainfo.xml are not the types of vantorel-mime.xml:"
  diff <(echo "$defined") <(echo "$provided") || true
  exit 1
fi
echo "desktop entry, metadata and MIME description are valid"
