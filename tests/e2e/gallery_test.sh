#!/usr/bin/env bash
# The control gallery under Wine: every control kind shows in its states (read back
# through the driver's dump), and screenshots of the desktop's look and of the classic
# look are kept for people to look at: work/gallery/gallery.png and gallery-classic.png.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin gallery
gallery=$(e2e_winpath "$KVB_WIN_BUILD_DIR/tools/gallery/gallery.exe")

for look in "" classic; do
  echo "== gallery ${look:-as the desktop draws}"
  e2e_drive "start $gallery ${look:+--$look}" "wait-window class=TfrmGallery" dump
  e2e_expect_status 0
  e2e_screenshot "gallery${look:+-$look}"
  # Every kind, in the states the gallery sets.
  e2e_expect_output 'text="Disabled label" disabled'
  e2e_expect_output 'text="Read-only text box"'
  e2e_expect_output 'text="Disabled, checked" checked disabled'
  e2e_expect_output 'text="Radio, checked" checked'
  e2e_expect_output 'item "Program files" selected'
  e2e_expect_output 'item "Nothing to install (disabled)"'
  e2e_expect_output 'item "Compact" selected'
  e2e_expect_output 'text="Typed text"'
  e2e_expect_output 'text="Disabled frame" disabled'
  e2e_expect_output 'class="msctls_progress32"'
  e2e_expect_output 'class="RichEdit20A"'
  # Its Close button ends it.
  e2e_drive "wait-window class=TfrmGallery process=any" "click Close" "wait-exit code=0"
  e2e_expect_status 0
done
