# Helpers of the network end-to-end tests: local HTTP and HTTPS servers on 127.0.0.1
# (tests/net/http_test_server.py) and a test certificate authority. Sourced after lib.sh.

# Re-runs the calling test script in a network namespace of its own that has only the
# loopback interface, when the system allows it (as root), so that no request of the test
# can leave the machine whatever the programs under test do. Call it first:
#   net_isolate "$0" "$@"
# Sets KVB_NET_ISOLATED=1 inside.
net_isolate() {
  if [ -z "${KVB_NET_ISOLATED:-}" ] && [ "$(id -u)" -eq 0 ] && command -v ip >/dev/null &&
    unshare -n true 2>/dev/null; then
    export KVB_NET_ISOLATED=1
    exec unshare -n bash -c 'ip link set lo up && exec bash "$@"' net_isolate "$@"
  fi
}

NET_SERVER_PIDS=()
NET_PORT=""

# net_server NAME [SERVER OPTIONS]: starts a server (log NAME.log in the test's folder),
# waits until it listens and sets NET_PORT. It stops by itself after four minutes at the
# latest; e2e_end stops it before.
net_server() {
  local name=$1 port_file=$E2E_DIR/$1.port i
  shift
  rm -f "$port_file"
  /usr/bin/python3 "$KVB_ROOT/tests/net/http_test_server.py" --port-file "$port_file" \
    --seconds 240 --max-requests 500 "$@" </dev/null >/dev/null 2>"$E2E_DIR/$name.log" &
  NET_SERVER_PIDS+=($!)
  if [ "${#NET_SERVER_PIDS[@]}" -eq 1 ]; then
    e2e_on_end net_stop_servers
  fi
  for i in $(seq 1 200); do
    [ -s "$port_file" ] && break
    kill -0 "$!" 2>/dev/null || e2e_fail "server $name did not start: $(cat "$E2E_DIR/$name.log")"
    sleep 0.05
  done
  NET_PORT=$(cat "$port_file" 2>/dev/null) || e2e_fail "server $name did not start"
}

net_stop_servers() {
  local pid
  for pid in "${NET_SERVER_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  NET_SERVER_PIDS=()
}

# Makes certificates in the test's folder (two days valid): a test authority ca.der/ca.pem,
# a server certificate for "localhost" signed by it (trusted.pem, key server.key), and the
# same name signed by an authority that nobody trusts (untrusted.pem). WinINet under Wine
# matches the host name against DNS names only, so the tests use "localhost".
net_make_certificates() {
  local dir=$E2E_DIR/certs
  mkdir -p "$dir"
  (
    cd "$dir" || exit 1
    printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >server.ext
    for ca in ca other-ca; do
      openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout $ca.key -out $ca.pem \
        -subj "/CN=Kalvenbrooker test $ca" -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" || exit 1
    done
    openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" &&
      openssl x509 -req -in server.csr -days 2 -CA ca.pem -CAkey ca.key -CAcreateserial \
        -extfile server.ext -out trusted.pem &&
      openssl x509 -req -in server.csr -days 2 -CA other-ca.pem -CAkey other-ca.key \
        -CAcreateserial -extfile server.ext -out untrusted.pem &&
      openssl x509 -in ca.pem -outform DER -out ca.der
  ) >"$E2E_DIR/certs.log" 2>&1 || e2e_fail "certificates: $(cat "$E2E_DIR/certs.log")"
}

# Adds the test authority to the prefix's root store (tests/e2e/helpers/trust_ca_win.cpp).
net_trust_test_authority() {
  wine "$KVB_WIN_BUILD_DIR/tests/e2e/trust_ca.exe" "$(e2e_winpath "$E2E_DIR/certs/ca.der")" \
    </dev/null >/dev/null 2>&1 || e2e_fail "the test authority could not be added to the root store"
}

# The three servers of the tests, their ports exported for the programs under test:
# KVB_HTTP_PORT, KVB_HTTPS_PORT (trusted), KVB_HTTPS_UNTRUSTED_PORT.
net_start_servers() {
  net_make_certificates
  net_server http
  export KVB_HTTP_PORT=$NET_PORT
  net_server https --cert "$E2E_DIR/certs/trusted.pem" --key "$E2E_DIR/certs/server.key"
  export KVB_HTTPS_PORT=$NET_PORT
  net_server https-untrusted --cert "$E2E_DIR/certs/untrusted.pem" --key "$E2E_DIR/certs/server.key"
  export KVB_HTTPS_UNTRUSTED_PORT=$NET_PORT
}
