#!/usr/bin/env bash
# The internet commands of a real setup's start-up script against a local server on
# 127.0.0.1: GETTEXT, DOWNLOAD (and a failed one leaving no file), POST, and ONLINECHECK,
# whose fixed web server is reached through a proxy server that the prefix's Internet
# settings name, played by the local server.
. "$KVB_ROOT/tests/e2e/net_lib.sh"
net_isolate "$0" "$@"
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin net_commands

net_server http
base=http://127.0.0.1:$NET_PORT
key='HKCU\Software\KvbE2E\Net'

# The product's web server only through the proxy; the local server directly. Without a
# network namespace of its own the test leaves ONLINECHECK out, so that nothing could
# ever ask for the real host.
settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
online_check=""
if [ -n "${KVB_NET_ISOLATED:-}" ]; then
  wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d 1 /f </dev/null >/dev/null 2>&1 &&
    wine reg add "$settings" /v ProxyServer /d "127.0.0.1:$NET_PORT" /f </dev/null >/dev/null 2>&1 &&
    wine reg add "$settings" /v ProxyOverride /d "127.0.0.1;localhost" /f </dev/null >/dev/null 2>&1 ||
    e2e_fail "proxy settings"
  online_check='ONLINECHECK "%Online%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Net", "Online", "%Online%"'
else
  echo "== no network namespace: ONLINECHECK is not tried"
fi

dir=$E2E_DIR/project
mkdir -p "$dir"
cat >"$dir/project.toml" <<TOML
[software]
name = "Net Demo"
company = "Acme"

[appearance]
title = "%SoftwareName% Setup"

[scripts]
startup = '''
MAKEFOLDER "C:\\kvbnet"
GETTEXT "%Text%", "$base/text"
WRITEREG "HKEY_CURRENT_USER", "Software\\KvbE2E\\Net", "Text", "%Text%"
DOWNLOAD "$base/data/100000", "C:\\kvbnet\\data.bin"
DOWNLOAD "$base/missing", "C:\\kvbnet\\missing.bin"
POST "$base/post/from setup", "name=%SoftwareName%"
GETTEXT "%Posted%", "$base/last-post"
WRITEREG "HKEY_CURRENT_USER", "Software\\KvbE2E\\Net", "Posted", "%Posted%"
$online_check
'''
TOML
setup=$(e2e_pack "$dir" net)

e2e_drive "start $(e2e_winpath "$setup")" "wait-exit code=0 timeout=60000"
e2e_expect_status 0 "setup run"
e2e_expect_reg "$key" Text "hello from the server"
e2e_expect_reg "$key" Posted "POST /post/from%20setup|application/x-www-form-urlencoded|name=Net Demo"
folder=$(e2e_unixpath 'C:\kvbnet')
/usr/bin/python3 -c 'import sys; sys.stdout.buffer.write((bytes(range(251)) * 400)[:100000])' |
  cmp -s - "$folder/data.bin" || e2e_fail "data.bin is not the server's file"
[ ! -e "$folder/missing.bin" ] || e2e_fail "the failed download left missing.bin"
[ -z "$(find "$folder" -iname '*.tmp')" ] || e2e_fail "temporary files left in $folder"
if [ -n "$online_check" ]; then
  e2e_expect_reg "$key" Online 0x1 REG_DWORD
  grep -q '"GET http://www.kalvenbrooker.com[:0-9]*/check.txt ' "$E2E_DIR/http.log" ||
    e2e_fail "ONLINECHECK did not go through the proxy"
fi
