#!/usr/bin/env bash
# Measures velnor-server with wrk: the high-score page (with about 100 stored scores), the posting
# path, and nginx serving a static copy of the same page, all on loopback. Prints requests per
# second, p99 latency and the page's ratio to nginx; exits 1 when that ratio is below 0.7.
#
#   bench/server_bench.sh [path/to/velnor-server]
#   BENCH_SECONDS=10 BENCH_CONNECTIONS=16 BENCH_THREADS=2 bench/server_bench.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${BENCH_SECONDS:-10}
connections=${BENCH_CONNECTIONS:-16}
threads=${BENCH_THREADS:-2}
min_ratio=0.7

server=${1:-}
if [ -z "$server" ]; then
  build="$top/build/bench-server"
  [ -f "$build/build.ninja" ] || cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELNOR_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target velnor-server >/dev/null
  server="$build/server/velnor-server"
fi
for tool in wrk nginx; do
  command -v "$tool" >/dev/null || { echo "server_bench: $tool is missing (scripts/deps.sh lists it)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/velnor-server-bench.XXXXXX)
chmod 755 "$work"   # nginx's workers run as another user and must read the static copy
server_pid=
nginx_pid=
cleanup() {
  [ -n "$server_pid" ] && kill -TERM "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  [ -n "$nginx_pid" ] && kill -QUIT "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() {
  local port=$((20000 + RANDOM % 20000))
  while port_in_use "$port"; do port=$((port + 1)); done
  echo "$port"
}
wait_for_port() {
  local deadline=$((SECONDS + 20))
  until port_in_use "$1"; do
    [ $SECONDS -lt $deadline ] || { echo "server_bench: nothing listens on port $1" >&2; exit 1; }
    sleep 0.05
  done
}
# One HTTP/1.0 request over bash's /dev/tcp; prints the body.
http_body() {
  local port=$1 target=$2
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$target" >&3
  sed '1,/^\r$/d' <&3
  exec 3<&-
}
# Runs wrk and prints "requests/s p99" from its report.
measure() {
  local url=$1; shift
  wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency "$@" "$url" >"$work/wrk.txt"
  local rps p99
  rps=$(awk '/^Requests\/sec:/ {print $2}' "$work/wrk.txt")
  p99=$(awk '$1 == "99%" {print $2}' "$work/wrk.txt")
  if grep -q "Non-2xx" "$work/wrk.txt"; then
    echo "server_bench: $url answered errors:" >&2
    cat "$work/wrk.txt" >&2
    exit 1
  fi
  echo "$rps $p99"
}

# velnor-server, with about 100 stored scores; no posting limit, the benchmark posts from one address.
port=$(free_port)
mkdir -p "$work/server"
(cd "$work/server" && exec "$server" --listen 127.0.0.1 --port "$port" --post-limit 0) 2>"$work/server.log" &
server_pid=$!
wait_for_port "$port"
for i in $(seq 1 100); do
  http_body "$port" "/cgi-bin/velnorsolo.cgi?name=player$i&date=1%2F5%2F27&score=$(( (i * 37) % 651 ))" >/dev/null
done

# nginx with a private configuration, serving the page exactly as velnor-server renders it.
mkdir -p "$work/static/counter" "$work/nginx"
http_body "$port" /counter/velnorsolo.shtml >"$work/static/counter/velnorsolo.shtml"
chmod -R a+rX "$work/static"
grep -q "Games posted: 100" "$work/static/counter/velnorsolo.shtml" || { echo "server_bench: the page did not show 100 postings" >&2; exit 1; }
nginx_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
  # Tuned as a production static server would be, so that the comparison is a fair one.
  access_log off;
  sendfile on;
  tcp_nopush on;
  tcp_nodelay on;
  open_file_cache max=64 inactive=60s;
  keepalive_requests 10000;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  types { text/html shtml html; }
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/static;
  }
}
CONF
nginx -p "$work/nginx" -e "$work/nginx/error.log" -c "$work/nginx/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
wait_for_port "$nginx_port"

echo "wrk: $threads threads, $connections connections, ${seconds}s per run; page of $(wc -c <"$work/static/counter/velnorsolo.shtml") bytes"
read -r page_rps page_p99 < <(measure "http://127.0.0.1:$port/counter/velnorsolo.shtml")
read -r nginx_rps nginx_p99 < <(measure "http://127.0.0.1:$nginx_port/counter/velnorsolo.shtml")
read -r post_rps post_p99 < <(measure "http://127.0.0.1:$port/" -s "$top/bench/server/post.lua")

ratio=$(awk -v a="$page_rps" -v b="$nginx_rps" 'BEGIN { printf "%.2f", a / b }')
printf '%-34s %12s %10s\n' "" "requests/s" "p99"
printf '%-34s %12s %10s\n' "velnor-server high-score page" "$page_rps" "$page_p99"
printf '%-34s %12s %10s\n' "nginx, static copy of the page" "$nginx_rps" "$nginx_p99"
printf '%-34s %12s %10s\n' "velnor-server score posting" "$post_rps" "$post_p99"
echo "page / nginx: $ratio (at least $min_ratio wanted)"
awk -v r="$ratio" -v m="$min_ratio" 'BEGIN { exit !(r >= m) }'
