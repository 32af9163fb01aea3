# Sourced by tests that download: starts the project's test HTTP server on a free loopback
# port, serving $1 (logging requests to $2/requests.log), and sets server_pid and base.
# The caller kills server_pid when it ends; the server also ends by itself after $3 seconds
# (ten minutes by default), so no test can leave it behind.
tess_start_http_server() {
  local root=$1 work=$2 lifetime=${3:-600}
  rm -f "$work/port"
  python3 "$(dirname "${BASH_SOURCE[0]}")/http_server.py" --root "$root" --port-file "$work/port" \
    --log "$work/requests.log" --lifetime "$lifetime" >/dev/null &
  server_pid=$!
  for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
  local port
  port=$(cat "$work/port") || return 1
  base="http://127.0.0.1:$port"
}
