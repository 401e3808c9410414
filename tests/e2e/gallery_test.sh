#!/usr/bin/env bash
# The control gallery under Wine: every control kind shows in its states and every fixed
# dialog opens, answers and closes (read back through the driver's dump). Pictures are
# kept for people to look at in work/gallery: screenshots of the desktop's look and of
# the classic look (gallery.png, gallery-classic.png) and the gallery's own pictures of
# every fixed dialog (dialog-*.png). The dialogs are pictured by the program itself: on
# Xvfb without a window manager a window lying over another one of the same program can
# end up below it on the screen.
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

echo "== the fixed dialogs"
e2e_drive "start $gallery" "wait-window class=TfrmGallery"
e2e_expect_status 0

# open BUTTON CLASS: opens a dialog from the gallery and dumps it.
open() {
  e2e_drive "wait-window class=TfrmGallery process=any" "click \"$1\"" \
    "wait-window class=$2 process=any" dump
  e2e_expect_status 0
}
# answer CLASS STEP...: acts on an open dialog.
answer() {
  local class=$1
  shift
  e2e_drive "wait-window class=$class process=any" "$@"
  e2e_expect_status 0
}

open "Overwrite prompt" TfrmMsgBoxFiles
e2e_expect_output 'text="Destination File"'
answer TfrmMsgBoxFiles "click No" wait-gone
open "Shared file" TfrmMsgBoxFiles
e2e_expect_output 'text="Cancel" hidden'
answer TfrmMsgBoxFiles "click \"No To All\"" wait-gone
open "Disk request" TfrmNeedDisk
e2e_expect_output 'text="Please insert Disk 2 and click OK.'
answer TfrmNeedDisk "click Browse" "wait-window class=TfrmDirectorySel process=any"
answer TfrmDirectorySel "click Cancel" wait-gone
answer TfrmNeedDisk "click Cancel" wait-gone
open "Folder selection" TfrmDirectorySel
answer TfrmDirectorySel "click \"New Folder\"" "wait-window class=TfrmNewFolder process=any"
answer TfrmNewFolder "type \"Gallery folder\"" "click Add" wait-gone
answer TfrmDirectorySel dump "click Cancel" wait-gone
e2e_expect_output 'item "Gallery folder"'
open "Copying files" TfrmCopyingFiles
answer TfrmCopyingFiles "click Cancel" wait-gone
open "Device wait" TfrmStartCEConnection
e2e_expect_output 'text="Connect your device to continue the setup."'
answer TfrmGallery "click \"Device wait\"" "click Close" "wait-exit code=0"

echo "== pictures of the dialogs"
wine "$KVB_WIN_BUILD_DIR/tools/gallery/gallery.exe" --pictures "$(e2e_winpath "$E2E_DIR")" \
  </dev/null >/dev/null 2>&1 || e2e_fail "the gallery could not save its pictures"
for picture in "$E2E_DIR"/*.bmp; do
  convert "$picture" "png:${picture%.bmp}.png" && rm "$picture"
  echo "${picture%.bmp}.png"
done
