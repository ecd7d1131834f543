#!/usr/bin/env bash
# Checks that printing from the print preview puts the labels on paper at 100 % from the
# paper's edge. Starts a private CUPS (its own configuration, spool, logs and socket in a
# temporary folder; a CUPS of the system is never used), adds a cups-pdf virtual printer,
# prints each label sheet kind of a sample product through the code of the preview's print
# button (bench/print_on_printer), and compares each printed PDF with corvane-print's PDF
# of the same labels: page count and size, and where the label outlines lie on each page,
# to within 0.2 mm.
# Runs as root, through sudo when started as another user (cupsd runs the cups-pdf backend
# as root). Needs the Debian packages cups, printer-driver-cups-pdf (which brings
# Ghostscript) and poppler-utils:
#   bash scripts/setup-debian.sh cups printer-driver-cups-pdf
# Usage: scripts/cups-check.sh [BUILD_DIR]   (KEEP=1 keeps the temporary folder, to look into)
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec sudo bash "$0" "$@"
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
fail() { echo "cups check FAILED: $*" >&2; exit 1; }

for package in cups-daemon cups-client cups-filters printer-driver-cups-pdf ghostscript poppler-utils sqlite3; do
  dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q '^install ok installed$' ||
    fail "the package $package is missing (bash scripts/setup-debian.sh cups printer-driver-cups-pdf)"
done
for program in "$build/bin/corvane-print" "$build/bench/print_on_printer"; do
  [ -x "$program" ] || fail "$program is missing: build first"
done

# cups-pdf reads its settings only from /etc/cups: the file for this queue alone
# (cups-pdf-<queue>.conf) sends its output into the temporary folder, and goes with it.
queue=corvane-check-$$
queue_conf=/etc/cups/cups-pdf-$queue.conf
[ ! -e "$queue_conf" ] || fail "$queue_conf exists already"
work=$(mktemp -d)
cupsd_pid=
cleanup() {
  [ -z "$cupsd_pid" ] || { kill "$cupsd_pid" 2> /dev/null; wait "$cupsd_pid" 2> /dev/null || true; }
  rm -f "$queue_conf"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
[ -z "${KEEP:-}" ] || trap 'kill "$cupsd_pid"; rm -f "$queue_conf"; echo "kept $work"' EXIT
# The filters run as the user lp and must reach their files here.
chmod 755 "$work"
mkdir -p "$work/cups" "$work/spool" "$work/cache" "$work/state" "$work/log" "$work/tmp" "$work/printed"
chgrp lp "$work/tmp" && chmod 1770 "$work/tmp"
cat > "$work/cups/cups-files.conf" << END
ServerRoot $work/cups
RequestRoot $work/spool
TempDir $work/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
SystemGroup root
END
# Only a socket in the temporary folder, and anyone who reaches it may do anything.
cat > "$work/cups/cupsd.conf" << END
Listen $work/cups.sock
Browsing Off
WebInterface No
LogLevel info
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
END
cat > "$queue_conf" << END
Out $work/printed
AnonDirName $work/printed
Spool $work/cups-pdf-spool
Log $work/log
Grp root
END
export CUPS_SERVER=$work/cups.sock
/usr/sbin/cupsd -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf" &
cupsd_pid=$!
for _ in $(seq 50); do lpstat -r > /dev/null 2>&1 && break; sleep 0.2; done
lpstat -r > /dev/null 2>&1 || fail "the private cupsd did not start: $(cat "$work/log/error_log" 2> /dev/null)"
# (lpadmin warns that printer drivers are deprecated; cups-pdf is one.) On a machine where
# CUPS never ran, the first cupsd may drop a connection just after answering lpstat
# ("Bad file descriptor"): a few tries.
add_queue() {
  lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd 2> "$work/lpadmin"
}
for _ in $(seq 10); do add_queue && break; sleep 0.5; done
lpstat -p "$queue" > /dev/null 2>&1 || add_queue || fail "lpadmin: $(cat "$work/lpadmin") $(tail -n 5 "$work/log/error_log")"

bash scripts/sample-data.sh "$build" "$work"
# The label outlines are what is measured: draw them on every sheet.
sed -i 's/^guides off/guides on/' "$work/Data"/*.PRP
unguided=$(grep -L '^guides on' "$work/Data"/*.PRP || true)
[ -z "$unguided" ] || fail "no 'guides off' line to turn on in: $unguided"
export QT_QPA_PLATFORM=offscreen

# Waits until the queue has no unfinished job and returns the PDF cups-pdf wrote.
wait_for_printed() {
  for _ in $(seq 600); do
    # A failed job stops the queue.
    lpstat -p "$queue" | grep -q disabled && fail "the print job failed: $(tail -n 5 "$work/log/error_log")"
    if [ -z "$(lpstat -W not-completed -o "$queue")" ]; then
      local printed
      printed=$(find "$work/printed" -name '*.pdf' | head -n 1)
      [ -n "$printed" ] && { echo "$printed"; return; }
    fi
    sleep 0.2
  done
  fail "the print job did not finish within 120 s: $(lpstat -l -o "$queue") $(tail -n 5 "$work/log/error_log")"
}

# Page sizes, one line a page: "page width height" in millimetres.
page_sizes() {
  pdfinfo -f 1 -l 100000 "$1" |
    awk '/^Page +[0-9]+ size:/ {printf "%d %.3f %.3f\n", $2, $4 * 25.4 / 72, $6 * 25.4 / 72}'
}

# The largest difference between two lists of "page numbers…" lines, line by line; 999 when
# they do not pair up.
largest_difference() {
  paste -d' ' "$1" "$2" | awk '{half = NF / 2
      if (NF % 2 || $1 != $(half + 1)) {max = 999; exit}
      for (i = 2; i <= half; i++) {d = $i - $(i + half); if (d < 0) d = -d; if (d > max) max = d}}
    END {printf "%.3f\n", max}'
}

# Sets `outlines` to the largest difference in the label outlines' positions, in millimetres,
# on renderings at 300 dpi of the first three pages and the last (the pages between are the
# same sheet again; rendering all 285 pages of the list of all target substances took ten
# minutes), and `outline_count` to what the last page has; fails when a page's outlines do
# not pair up.
outline_difference() { # expected.pdf printed.pdf
  rm -rf "$work/render" && mkdir "$work/render"
  local last range
  last=$(pdfinfo "$1" | awk '/^Pages:/ {print $2}')
  for range in "-f 1 -l 3" "-f $last -l $last"; do
    # shellcheck disable=SC2086 # the page options are two words each
    pdftoppm -q -r 300 -gray -png $range "$1" "$work/render/expected"
    # shellcheck disable=SC2086
    pdftoppm -q -r 300 -gray -png $range "$2" "$work/render/printed"
  done
  local page lines
  outlines=0
  for page in "$work/render"/expected-*.png; do
    lines=$("$build/bench/outline_difference" "$page" "${page/expected/printed}" 300) ||
      fail "$(basename "$page"): $lines"
    outlines=$(echo "$lines" | awk -v l="$outlines" '{d = $(NF - 1); printf "%.3f\n", (d > l ? d : l)}')
  done
  outline_count=${lines%%, largest*}
}

tolerance=0.2
status=0
# Prints the labels both ways, measures, and checks the outlines lie `shift` mm apart (the
# offset asked of the printer) to within the tolerance: check PRODUCT KIND SINGLE NAME SHIFT
# [print_on_printer options].
check() {
  local product=$1 kind=$2 single=$3 name=$4 shift=$5
  shift 5
  [ -f "$work/$name.pdf" ] || "$build/bin/corvane-print" --product "$product" --kind "$kind" --single "$single" \
    --output "$work/$name.pdf" --data "$work/Data" 2> /dev/null || [ $? -eq 3 ] || fail "corvane-print, kind $kind"
  rm -f "$work/printed"/*
  "$build/bench/print_on_printer" --data "$work/Data" --product "$product" --kind "$kind" --single "$single" \
    --printer "$queue" "$@" || fail "print_on_printer, kind $kind"
  local printed
  printed=$(wait_for_printed)

  page_sizes "$work/$name.pdf" > "$work/pdf.size"; page_sizes "$printed" > "$work/print.size"
  local pages size
  pages=$(wc -l < "$work/pdf.size")
  [ "$pages" -eq "$(wc -l < "$work/print.size")" ] || fail "kind $kind: $pages pages in the PDF, $(wc -l < "$work/print.size") printed"
  size=$(largest_difference "$work/pdf.size" "$work/print.size")
  outline_difference "$work/$name.pdf" "$printed"
  echo "kind $kind ($name${*:+ $*}): $pages pages of $(head -n 1 "$work/print.size" | awk '{print $2 " x " $3}') mm" \
    "printed; largest difference: page size $size mm, outlines $outlines mm (last page: $outline_count)"
  if awk -v s="$size" -v o="$outlines" -v x="$shift" -v t="$tolerance" 'BEGIN {d = o - x; exit !(s > t || d > t || -d > t)}'; then
    echo "  not within $tolerance mm of $shift mm" >&2
    status=1
  fi
}

check 9001 1 0 normal 0
check 9002 2 1 model 0
check 9001 3 0 additional-12 0
check -1 4 0 all-substances 0
check 9001 5 0 additional-21 0
# Settings chosen in the print dialog that would shrink or move the labels are undone.
check 9001 3 0 additional-12 0 --dialog-choices
# The printer offset moves every outline by as much, so the measurement sees what it should.
check 9001 3 0 additional-12 0.5 --offset 0.5,-0.5
[ "$status" -eq 0 ] || fail "the printed labels are not where the PDF has them"
echo "cups check: every sheet kind printed through CUPS at 100 % on A4, within $tolerance mm of the PDF"
