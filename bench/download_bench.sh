#!/usr/bin/env bash
# Downloads a 64 MiB file from nginx on loopback, several times with the game's
# download client (bench/download/httpcli_get) and as many times with curl, and
# prints the median throughput of each and their ratio.
#
#   bench/download_bench.sh [path/to/httpcli_get]
#   BENCH_RUNS=9 bench/download_bench.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-7}
size_mib=64

client=${1:-}
if [ -z "$client" ]; then
  build="$top/build/bench-download"
  [ -f "$build/build.ninja" ] ||
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELNOR_TESTS=OFF -DVELNOR_BENCH=ON >/dev/null
  cmake --build "$build" -j2 --target httpcli_get >/dev/null
  client="$build/bench/httpcli_get"
fi
for tool in nginx curl; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] ||
    { echo "download_bench: $tool is missing (scripts/deps.sh lists it)" >&2; exit 1; }
done
nginx=$(command -v nginx || echo /usr/sbin/nginx)

work=$(mktemp -d /tmp/velnor-download-bench.XXXXXX)
nginx_pid=
cleanup() {
  [ -n "$nginx_pid" ] && kill -TERM "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/temp"
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$work/www/big.bin"

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
# nginx in the foreground, one process, everything it writes inside $work.
start_nginx() {
  local port=$1
  cat >"$work/nginx.conf" <<CONF
daemon off;
master_process off;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $work/temp/body;
  proxy_temp_path $work/temp/proxy;
  fastcgi_temp_path $work/temp/fastcgi;
  uwsgi_temp_path $work/temp/uwsgi;
  scgi_temp_path $work/temp/scgi;
  default_type application/octet-stream;
  sendfile on;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
  }
}
CONF
  rm -f "$work/nginx.pid"
  "$nginx" -p "$work/" -c "$work/nginx.conf" -e "$work/error.log" &
  nginx_pid=$!
  local deadline=$((SECONDS + 20))
  until [ -s "$work/nginx.pid" ] && port_in_use "$port"; do
    if ! kill -0 "$nginx_pid" 2>/dev/null; then wait "$nginx_pid" 2>/dev/null || true; nginx_pid=; return 1; fi
    [ $SECONDS -lt $deadline ] || { echo "download_bench: nginx did not start" >&2; exit 1; }
    sleep 0.05
  done
}
for attempt in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 20000))
  port_in_use "$port" && continue
  start_nginx "$port" && break
done
[ -n "$nginx_pid" ] || { echo "download_bench: nginx did not start:" >&2; cat "$work/error.log" >&2; exit 1; }
url="http://127.0.0.1:$port/big.bin"

# Runs one download and prints its wall time in seconds; checks that the file is whole.
timed() {
  local out="$work/out.bin" start end
  rm -f "$out"
  start=$(date +%s%N)
  "$@" "$out" >/dev/null
  end=$(date +%s%N)
  cmp -s "$out" "$work/www/big.bin" || { echo "download_bench: $1 delivered a different file" >&2; exit 1; }
  awk -v ns=$((end - start)) 'BEGIN { printf "%.6f\n", ns / 1e9 }'
}
curl_get() { curl -sS -o "$2" "$1"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One unmeasured run of each warms the page cache and nginx.
timed "$client" "$url" >/dev/null
timed curl_get "$url" >/dev/null
client_times=() curl_times=()
for ((i = 0; i < runs; i++)); do
  client_times+=("$(timed "$client" "$url")")
  curl_times+=("$(timed curl_get "$url")")
done

client_median=$(printf '%s\n' "${client_times[@]}" | median)
curl_median=$(printf '%s\n' "${curl_times[@]}" | median)
awk -v n="$runs" -v mib="$size_mib" -v a="$client_median" -v b="$curl_median" 'BEGIN {
  printf "download of %d MiB from nginx on loopback, median of %d runs\n", mib, n
  printf "  THttpCli  %8.1f MiB/s  (%.3f s)\n", mib / a, a
  printf "  curl      %8.1f MiB/s  (%.3f s)\n", mib / b, b
  printf "  ratio THttpCli / curl: %.2f\n", b / a
}'
