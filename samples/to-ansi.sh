#!/usr/bin/env bash
# Writes a UTF-8 text file as the reader's 8-bit files are stored: Windows-1252
# with CR LF line ends. A character without a Windows-1252 form is an error.
#   to-ansi.sh INPUT OUTPUT
set -euo pipefail
if [[ $# -ne 2 ]]; then
    echo "usage: $0 INPUT OUTPUT" >&2
    exit 2
fi
tmp="$2.tmp.$$"
trap 'rm -f "$tmp"' EXIT
iconv -f UTF-8 -t WINDOWS-1252 "$1" | sed 's/\r$//; s/$/\r/' >"$tmp"
mv -f "$tmp" "$2"
