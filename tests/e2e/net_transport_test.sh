#!/usr/bin/env bash
# The HTTP transport under Wine against local servers on 127.0.0.1: the Win32 transport
# tests (tests/net/win) run in a fresh prefix that trusts the test certificate authority,
# with plain HTTP, trusted HTTPS and untrusted HTTPS servers.
. "$KVB_ROOT/tests/e2e/net_lib.sh"
net_isolate "$0" "$@"
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin net_transport
[ -n "${KVB_NET_ISOLATED:-}" ] && echo "== in a network namespace with loopback only"

net_start_servers
net_trust_test_authority
mkdir -p "$E2E_DIR/work"
export KVB_NET_WORK
KVB_NET_WORK=$(e2e_winpath "$E2E_DIR/work")
wine "$KVB_WIN_BUILD_DIR/tests/net/net_win_tests.exe" --gtest_brief=1 </dev/null \
  >"$E2E_DIR/net_win_tests.out" 2>&1
status=$?
tr -d '\r' <"$E2E_DIR/net_win_tests.out"
[ "$status" -eq 0 ] || e2e_fail "transport tests failed (status $status)"
! grep -q 'SKIPPED' "$E2E_DIR/net_win_tests.out" || e2e_fail "transport tests were skipped"
