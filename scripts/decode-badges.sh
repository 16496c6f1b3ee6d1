#!/usr/bin/env bash
# Reads back the QR codes of a PDF of name badges (Cartellini_Evento_<n>.pdf)
# with an independent decoder, label by label, for checking by hand: each
# label of each page is drawn at 300 dots per inch on its own and given to
# zbarimg (Debian's zbar-tools, not needed by the build or the tests).
#   bash scripts/decode-badges.sh Cartellini_Evento_3.pdf [8|10]
# Prints one line a label: page, label (from 1, by rows), the decoded text
# (empty for a label without a badge) and the name printed on it.
set -euo pipefail
pdf=${1:?usage: decode-badges.sh FILE.pdf [8|10]}
per=${2:-8}
for tool in pdftoppm pdftotext pdfinfo zbarimg; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: apt-get install poppler-utils zbar-tools" >&2; exit 2; }
done
case "$per" in
  8) rows=4 height=67.7 ;;
  10) rows=5 height=57 ;;
  *) echo "labels per sheet: 8 or 10" >&2; exit 2 ;;
esac
# The sheets' grid as the program lays it out: two columns 101.6 mm apart,
# labels 99.1 mm wide, the grid centred on A4.
dots() { awk -v mm="$1" 'BEGIN { printf "%d", mm / 25.4 * 300 + 0.5 }'; }
top=$(awk -v r="$rows" -v h="$height" 'BEGIN { print (297 - r * h) / 2 }')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
for ((p = 1; p <= pages; p++)); do
  for ((k = 0; k < rows * 2; k++)); do
    x=$(dots "$(awk -v c=$((k % 2)) 'BEGIN { print 4.65 + c * 101.6 }')")
    y=$(dots "$(awk -v t="$top" -v r=$((k / 2)) -v h="$height" 'BEGIN { print t + r * h }')")
    w=$(dots 99.1)
    h=$(dots "$height")
    pdftoppm -r 300 -png -f "$p" -l "$p" -x "$x" -y "$y" -W "$w" -H "$h" -singlefile "$pdf" "$work/label"
    code=$(zbarimg --quiet --raw -Sdisable -Sqrcode.enable "$work/label.png" 2>/dev/null | paste -sd'|' || true)
    name=$(pdftotext -r 300 -f "$p" -l "$p" -x "$x" -y "$y" -W "$w" -H "$h" "$pdf" - | paste -sd' ')
    echo "page $p label $((k + 1)): [$code] $name"
  done
done
