#!/usr/bin/env bash
# A setup with a valid package runs through start-up without an error, leaves no
# temporary folder behind and ends with the normal exit code.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin startup_valid

make_package=$(e2e_host_tool make_package) || e2e_fail "make_package is not built (KVB_HOST_BUILD_DIR)"
setup=$E2E_DIR/setup.exe
"$make_package" "${KVB_SETUP_EXE:?}" "$setup" || e2e_fail "make_package failed"

e2e_drive "start $(e2e_winpath "$setup")" "wait-exit code=0 timeout=10000"
e2e_expect_status 0
folders=$(e2e_temp_folders)
[ -z "$folders" ] || e2e_fail "temporary folders left: $folders"
