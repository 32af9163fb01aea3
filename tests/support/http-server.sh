# Sourced by tests that download: starts the project's test HTTP server on a free loopback
# port, serving $1 (logging requests to $2/requests.log), and sets server_pid and base.
# Further arguments go to the server (--tls NAME=PEM for a TLS port; tls_port NAME prints it).
# The caller kills server_pid when it ends; the server also ends by itself after $3 seconds
# (ten minutes by default), so no test can leave it behind.
tess_start_http_server() {
  local root=$1 work=$2 lifetime=${3:-600}
  shift $(($# < 3 ? $# : 3))
  tess_port_file="$work/port"
  rm -f "$tess_port_file"
  python3 "$(dirname "${BASH_SOURCE[0]}")/http_server.py" --root "$root" --port-file "$tess_port_file" \
    --log "$work/requests.log" --lifetime "$lifetime" "$@" >/dev/null &
  server_pid=$!
  for _ in $(seq 50); do [ -s "$tess_port_file" ] && break; sleep 0.1; done
  local port
  port=$(head -n 1 "$tess_port_file") || return 1
  base="http://127.0.0.1:$port"
}
tls_port() { awk -v name="$1" '$1 == name { print $2 }' "$tess_port_file"; }

# Makes a test certificate authority and server certificates in folder $1: ca.der (to trust
# inside a test prefix with trust_root.exe), good.pem for localhost and 127.0.0.1, host.pem for
# another name, expired.pem (2020), and untrusted.pem from an authority nobody trusts.
tess_make_test_ca() {
  local d=$1 name ca from to
  mkdir -p "$d/db" && : >"$d/db/index" && echo 1000 >"$d/db/serial" || return 1
  for ca in ca other; do
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$d/$ca.key" -out "$d/$ca.crt" -days 30 \
      -subj "/CN=Tessara Test $ca" -addext "basicConstraints=critical,CA:TRUE" \
      -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null || return 1
  done
  openssl x509 -in "$d/ca.crt" -outform DER -out "$d/ca.der" || return 1
  printf '[ca]\ndefault_ca=c\n[c]\ndatabase=%s/db/index\nserial=%s/db/serial\nnew_certs_dir=%s/db\ndefault_md=sha256\npolicy=p\n[p]\ncommonName=supplied\n' \
    "$d" "$d" "$d" >"$d/ca.cnf"
  # name, authority, names, first and last day
  while read -r name ca san from to; do
    openssl req -newkey rsa:2048 -nodes -keyout "$d/$name.key" -out "$d/$name.csr" \
      -subj "/CN=$name" 2>/dev/null || return 1
    printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$san" >"$d/$name.ext"
    openssl ca -batch -config "$d/ca.cnf" -cert "$d/$ca.crt" -keyfile "$d/$ca.key" \
      -in "$d/$name.csr" -out "$d/$name.crt" -startdate "$from" -enddate "$to" \
      -extfile "$d/$name.ext" -notext 2>/dev/null || return 1
    cat "$d/$name.crt" "$d/$name.key" >"$d/$name.pem"
  done <<LIST
good ca DNS:localhost,IP:127.0.0.1 $(date -u -d '-1 day' +%Y%m%d%H%M%SZ) $(date -u -d '+30 days' +%Y%m%d%H%M%SZ)
host ca DNS:other.test 20240101000000Z $(date -u -d '+30 days' +%Y%m%d%H%M%SZ)
expired ca DNS:localhost,IP:127.0.0.1 20200101000000Z 20200201000000Z
untrusted other DNS:localhost,IP:127.0.0.1 20240101000000Z $(date -u -d '+30 days' +%Y%m%d%H%M%SZ)
LIST
}

# Starts tinyproxy on a free loopback port with its own configuration and log in $1; with
# credentials in $2 ("user password") it asks for them (407). Sets proxy_pid and proxy_port.
tess_start_proxy() {
  proxy_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  printf 'Port %s\nListen 127.0.0.1\nTimeout 60\nLogFile "%s/tinyproxy.log"\nLogLevel Info\nMaxClients 20\nAllow 127.0.0.1\n%s\n' \
    "$proxy_port" "$1" "${2:+BasicAuth $2}" >"$1/tinyproxy.conf"
  timeout 900 tinyproxy -d -c "$1/tinyproxy.conf" >/dev/null 2>&1 &
  proxy_pid=$!
  for _ in $(seq 50); do grep -q 'Accepting connections' "$1/tinyproxy.log" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

# Sends the current prefix's WinINet through the proxy at 127.0.0.1:$1, loopback included.
tess_use_proxy() {
  local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
  wine reg add "$key" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1 &&
    wine reg add "$key" /v ProxyServer /d "127.0.0.1:$1" /f >/dev/null 2>&1 &&
    wine reg add "$key" /v ProxyOverride /d '<-loopback>' /f >/dev/null 2>&1
}
