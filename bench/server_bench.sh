#!/usr/bin/env bash
# Measures velnor-server with wrk, on loopback only: the high-score page (about 100 stored scores)
# on each store, SQLite and PostgreSQL, beside nginx serving a static copy of the same page; and the
# posting rate on SQLite (one server) and on PostgreSQL (one server, then two sharing the database);
# then the page beside nginx at 16, 64, 256 and 1,024 connections with a client that counts the
# requests of each connection (bench/server/crowd.cpp), and what a new client meets while 10,000
# idle connections, 1,000 that send a byte a second and 16 slow readers of a 50 MB file are held,
# with the memory that each idle connection costs;
# then, on each store, what a posting with a game's record costs beside a plain one (bench/server/posting_cost.cpp);
# then the rolls the server deals one at a time (bench/server/rolls.cpp): a roll's answer while 1,000
# games play at once (a roll every 100 ms each) beside the page load, rolls/s from 16 clients beside
# the postings/s above on each store, and bots on SQLite (100 games computed from the seed, 100 played
# through the rolls and posted, and the mean of 1,000 played through the rolls);
# then postings alone, and the page and postings together, on a store just begun beside one of
# millions of scores in the same run, with the machine's load at the start and the end
# (BENCH_BIG_SQLITE rows, default 5,000,000; BENCH_BIG_PG, default 20,000,000; 0 skips a store).
# Then HTTPS, velnor-server's own TLS beside nginx's with the same certificate: the page over TLS at 16
# and 256 keep-alive connections, new TLS connections a second (one request each), and what a new
# client meets while 1,000 clients hold connections whose handshakes they never begin.
# Each measurement runs three times (the crowds five), the servers taking turns in an order that
# changes each round, and the medians are reported. Exits 1 when a page's rate is below 0.7 of
# nginx's, or its p99 latency above three times nginx's (or 5 ms, whichever is more).
#
#   bench/server_bench.sh [path/to/velnor-server]
#   BENCH_SECONDS=10 BENCH_CONNECTIONS=16 BENCH_THREADS=2 bench/server_bench.sh
#   BENCH_ROLLS_ONLY=1 bench/server_bench.sh   (ends after the rolls)
#   BENCH_TLS_ONLY=1 bench/server_bench.sh     (ends after HTTPS)
#   BENCH_GROWTH_ONLY=1 bench/server_bench.sh  (only the small and big stores)
#
# PostgreSQL runs as a private cluster in a temporary folder, on a Unix socket only (as the
# `postgres` user when run as root); no system cluster is used or touched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${BENCH_SECONDS:-10}
connections=${BENCH_CONNECTIONS:-16}
threads=${BENCH_THREADS:-2}
rounds=3
# The crowds share the two cores with their client, so single rounds vary by a tenth either way: more
# rounds make their medians steady enough to compare with nginx's.
crowd_rounds=5
min_ratio=0.7
max_p99_ratio=3
p99_floor_ms=5

server=${1:-}
if [ -z "$server" ]; then
  build="$top/build/bench-server"
  [ -f "$build/build.ninja" ] || cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELNOR_TESTS=OFF \
    -DVELNOR_BENCH=ON >/dev/null
  cmake --build "$build" -j2 --target velnor-server posting_cost crowd rolls >/dev/null
  server="$build/server/velnor-server"
fi
posting_cost=${POSTING_COST:-$(dirname "$(dirname "$server")")/bench/posting_cost}
crowd=${CROWD:-$(dirname "$(dirname "$server")")/bench/crowd}
rolls=${ROLLS:-$(dirname "$(dirname "$server")")/bench/rolls}
# The servers run in folders of their own, so a relative path is made absolute first.
server=$(cd "$(dirname "$server")" && pwd)/$(basename "$server")
[ -x "$server" ] || { echo "server_bench: $server is not a program" >&2; exit 1; }
pg_bin=$(pg_config --bindir 2>/dev/null || true)
for tool in wrk nginx openssl "$pg_bin/initdb"; do
  command -v "$tool" >/dev/null || { echo "server_bench: $tool is missing (scripts/deps.sh lists it)" >&2; exit 1; }
done

# Thousands of connections at once, on both ends.
ulimit -n "$(ulimit -Hn)"
work=$(mktemp -d "${TMPDIR:-/tmp}/velnor-server-bench.XXXXXX")
chmod 755 "$work"   # nginx's workers and PostgreSQL run as other users
pids=()
nginx_pid=
pg_running=
as_postgres=()
[ "$(id -u)" -eq 0 ] && as_postgres=(runuser -u postgres --)
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  [ -n "$nginx_pid" ] && kill -QUIT "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  [ -n "$pg_running" ] && (cd "$work/pg" && "${as_postgres[@]}" "$pg_bin/pg_ctl" -D "$work/pg/data" -m fast -w stop >/dev/null 2>&1)
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
# Starts velnor-server on a free port with the given store; the port is left in $started_port.
# (Not run in a subshell, so that the cleanup knows every server.)
# Arguments after the store's are the server's own.
start_server() {
  local name=$1 database=$2
  shift 2
  started_port=$(free_port)
  mkdir -p "$work/$name"
  # Every client of the benchmark comes from one address, and nginx logs nothing either.
  (cd "$work/$name" && exec "$server" --listen 127.0.0.1 --port "$started_port" --post-limit 0 --seed-limit 0 --database "$database" \
    --max-connections 100000 --max-per-address 100000 --no-access-log "$@") \
    >"$work/$name.log" 2>&1 &
  pids+=($!)
  wait_for_port "$started_port"
}
# wrk's latency in milliseconds.
to_ms() { awk -v t="$1" 'BEGIN { v = t + 0; if (t ~ /us$/) v /= 1000; else if (t ~ /ms$/) v += 0; else if (t ~ /s$/) v *= 1000; printf "%.2f", v }'; }
# Runs wrk on each address at once, the connections shared among them; prints "requests/s p99_ms"
# (the sum of the rates and the worst p99).
measure() {
  local script=$1; shift
  local n=$# each=$((connections / $#)) i=0 url
  [ "$each" -ge 1 ] || each=1
  for url in "$@"; do
    i=$((i + 1))
    wrk -t"$threads" -c"$each" -d"${seconds}s" --latency ${script:+-s "$script"} "$url" >"$work/wrk$i.txt" &
  done
  wait
  local total=0 worst=0 rps p99
  for i in $(seq 1 "$n"); do
    if grep -q "Non-2xx" "$work/wrk$i.txt"; then
      echo "server_bench: errors from $(sed -n 's/^Running .* test @ //p' "$work/wrk$i.txt"):" >&2
      cat "$work/wrk$i.txt" >&2
      exit 1
    fi
    rps=$(awk '/^Requests\/sec:/ {print $2}' "$work/wrk$i.txt")
    p99=$(to_ms "$(awk '$1 == "99%" {print $2}' "$work/wrk$i.txt")")
    total=$(awk -v a="$total" -v b="$rps" 'BEGIN { printf "%.0f", a + b }')
    worst=$(awk -v a="$worst" -v b="$p99" 'BEGIN { print (b > a ? b : a) }')
  done
  echo "$total $worst"
}
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
page=/counter/velnorsolo.shtml
post="$top/bench/server/post.lua"
# The page and postings at once, half the connections each; prints "page_rps page_p99_ms post_rps
# post_p99_ms".
mixed() {
  local port=$1 half=$((connections / 2))
  [ "$half" -ge 1 ] || half=1
  wrk -t1 -c"$half" -d"${seconds}s" --latency "http://127.0.0.1:$port$page" >"$work/mixed_page.txt" &
  wrk -t1 -c"$half" -d"${seconds}s" --latency -s "$post" "http://127.0.0.1:$port/" >"$work/mixed_post.txt" &
  wait
  if grep -q "Non-2xx" "$work/mixed_page.txt" "$work/mixed_post.txt"; then
    echo "server_bench: errors under the mixed load:" >&2
    cat "$work/mixed_page.txt" "$work/mixed_post.txt" >&2
    exit 1
  fi
  echo "$(awk '/^Requests\/sec:/ {print $2}' "$work/mixed_page.txt")" \
    "$(to_ms "$(awk '$1 == "99%" {print $2}' "$work/mixed_page.txt")")" \
    "$(awk '/^Requests\/sec:/ {print $2}' "$work/mixed_post.txt")" \
    "$(to_ms "$(awk '$1 == "99%" {print $2}' "$work/mixed_post.txt")")"
}
# Fills a store with rows scores (half of them verified) and counts them, as years of play would,
# and leaves it at rest as they would: written out to its file, and (PostgreSQL) vacuumed, so that
# the measurement does not pay for the filling.
fill_sqlite() {
  sqlite3 "$1" "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $2)
    INSERT INTO scores (name, date, score, received, client, game, ticket, verified)
    SELECT 'filler' || (i % 1000), '1/5/27', i % 651, 1800000000, '10.0.0.1', '',
           CASE WHEN i % 2 = 0 THEN 'fill' || i END, i % 2 = 0 FROM n;
    UPDATE velnor_counts SET games = games + $2; COMMIT; PRAGMA wal_checkpoint(TRUNCATE);" >/dev/null
}
fill_pg() {
  "$pg_bin/psql" -q -v ON_ERROR_STOP=1 "$1" -c "BEGIN;
    INSERT INTO scores (name, date, score, received, client, game, ticket, verified)
    SELECT 'filler' || (i % 1000), '1/5/27', i % 651, 1800000000, '10.0.0.1', '',
           CASE WHEN i % 2 = 0 THEN 'fill' || i END, i % 2 = 0 FROM generate_series(1, $2) AS i;
    INSERT INTO velnor_counts (shard, games) VALUES (-1, $2); COMMIT;" >/dev/null
  "$pg_bin/psql" -q -v ON_ERROR_STOP=1 "$1" -c "VACUUM ANALYZE scores" -c "CHECKPOINT" >/dev/null
}
load_average() { awk '{ print $1, $2, $3 }' /proc/loadavg; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Prints one measure's medians on a big and a small store, and their ratio; returns 1 when the goal is
# missed: a rate below 0.8 of the small store's, or a latency above 1.25 times.
# shellcheck disable=SC2086  # the figures are words
compare() {  # label, the big store's figures, the small store's, "rate" or "latency"
  local big small verdict=ok
  big=$(median $2)
  small=$(median $3)
  if [ "$4" = rate ]; then
    awk -v a="$big" -v b="$small" 'BEGIN { exit !(a >= 0.8 * b) }' || verdict="BELOW 0.8"
  else
    awk -v a="$big" -v b="$small" 'BEGIN { exit !(a <= 1.25 * b) }' || verdict="ABOVE 1.25"
  fi
  printf '  %-32s %10s %10s %7s   %s\n' "$1" "$big" "$small" "$(ratio "$big" "$small")" "$verdict"
  [ "$verdict" = ok ]
}
# On each store, one just begun beside one of millions of scores, in the same run, taking turns:
# postings alone from all the connections, then the page and postings at once. Goals: the big
# store's postings/s and page requests/s at least 0.8 of the small one's, and its posting p99 at
# most 1.25 times. Returns 1 when a goal is missed.
store_growth() {
  local store rows size filled database port_var round r p q s missed=0
  # Both stores are begun the same way, so that their pages are alike (100 verified and 100
  # unverified scores) and only the number of scores behind them differs.
  local small_rows=1000
  for store in sqlite pg; do
    if [ "$store" = sqlite ]; then rows=${BENCH_BIG_SQLITE:-5000000}; else rows=${BENCH_BIG_PG:-20000000}; fi
    [ "$rows" -gt 0 ] || continue
    for size in small big; do
      if [ "$store" = sqlite ]; then
        start_server "${size}_sqlite" "sqlite:$work/${size}_sqlite/scores.db"
        database="$work/${size}_sqlite/scores.db"
      else
        "$pg_bin/createdb" -h "$work/pg" -U velnor "$size"
        database="postgresql://velnor@/$size?host=$work/pg"
        start_server "${size}_pg" "$database"
      fi
      printf -v "${size}_port" %s "$started_port"
      if [ "$size" = small ]; then filled=$small_rows; else filled=$rows; fi
      "fill_$store" "$database" "$filled"
      # The filled rows came in behind the server's back: its page is dropped by a posting.
      port_var=${size}_port
      http_body "${!port_var}" "/cgi-bin/velnorsolo.cgi?name=after&date=1%2F5%2F27&score=1" >/dev/null
      grep -q "Games posted: $((filled + 1))" <(http_body "${!port_var}" "$page") ||
        { echo "server_bench: the $size $store store does not count $((filled + 1)) postings" >&2; exit 1; }
    done
    # Each store's figures of its own.
    unset alone_post alone_p99 mixed_page mixed_p99 mixed_post mixed_post_p99
    local -A alone_post alone_p99 mixed_page mixed_p99 mixed_post mixed_post_p99
    echo "$store, $rows scores beside a store just begun with $small_rows, $connections connections, ${seconds}s a run (medians of $rounds); load average $(load_average) at the start"
    for round in $(seq 1 $rounds); do
      for size in $( ((round % 2)) && echo "small big" || echo "big small"); do
        port_var=${size}_port
        read -r r p < <(measure "$post" "http://127.0.0.1:${!port_var}/")
        alone_post[$size]="${alone_post[$size]:-} $r"
        alone_p99[$size]="${alone_p99[$size]:-} $p"
        read -r r p q s < <(mixed "${!port_var}")
        mixed_page[$size]="${mixed_page[$size]:-} $r"
        mixed_p99[$size]="${mixed_p99[$size]:-} $p"
        mixed_post[$size]="${mixed_post[$size]:-} $q"
        mixed_post_p99[$size]="${mixed_post_p99[$size]:-} $s"
      done
    done
    printf '  %-32s %10s %10s %7s\n' "" big small ratio
    compare "postings/s, alone" "${alone_post[big]}" "${alone_post[small]}" rate || missed=1
    compare "posting p99 (ms), alone" "${alone_p99[big]}" "${alone_p99[small]}" latency || missed=1
    compare "page requests/s, with postings" "${mixed_page[big]}" "${mixed_page[small]}" rate || missed=1
    compare "page p99 (ms), with postings" "${mixed_p99[big]}" "${mixed_p99[small]}" latency || missed=1
    compare "postings/s, with the page" "${mixed_post[big]}" "${mixed_post[small]}" rate || missed=1
    compare "posting p99 (ms), with the page" "${mixed_post_p99[big]}" "${mixed_post_p99[small]}" latency || missed=1
    echo "  load average $(load_average) at the end"
  done
  return "$missed"
}

# PostgreSQL: a private cluster, reachable only through a socket in its own folder.
mkdir -p "$work/pg"
[ ${#as_postgres[@]} -eq 0 ] || chown postgres: "$work/pg"
(cd "$work/pg" && "${as_postgres[@]}" "$pg_bin/initdb" -D "$work/pg/data" -U velnor -A trust -E UTF8 --locale=C >"$work/initdb.log" 2>&1) ||
  { cat "$work/initdb.log" >&2; exit 1; }
(cd "$work/pg" && "${as_postgres[@]}" "$pg_bin/pg_ctl" -D "$work/pg/data" -l "$work/pg/server.log" -w \
  -o "-c listen_addresses='' -k $work/pg" start >/dev/null)
pg_running=1
pg_url="postgresql://velnor@/postgres?host=$work/pg"
if [ "${BENCH_GROWTH_ONLY:-0}" = 1 ]; then
  store_growth && exit 0
  exit 1
fi

start_server sqlite "sqlite:$work/sqlite/scores.db"
sqlite_port=$started_port
start_server pg "$pg_url"
pg_port=$started_port
start_server pg2 "$pg_url"
pg2_port=$started_port
for i in $(seq 1 100); do
  target="/cgi-bin/velnorsolo.cgi?name=player$i&date=1%2F5%2F27&score=$(( (i * 37) % 651 ))"
  http_body "$sqlite_port" "$target" >/dev/null
  http_body "$pg_port" "$target" >/dev/null
done

# nginx with a private configuration, serving the page exactly as velnor-server renders it.
mkdir -p "$work/static/counter" "$work/nginx"
http_body "$sqlite_port" /counter/velnorsolo.shtml >"$work/static/counter/velnorsolo.shtml"
chmod -R a+rX "$work/static"
for port in "$sqlite_port" "$pg_port" "$pg2_port"; do
  http_body "$port" /counter/velnorsolo.shtml | cmp -s - "$work/static/counter/velnorsolo.shtml" ||
    { echo "server_bench: the stores' pages differ" >&2; exit 1; }
done
grep -q "Games posted: 100" "$work/static/counter/velnorsolo.shtml" || { echo "server_bench: the page did not show 100 postings" >&2; exit 1; }
# One certificate for both servers' TLS, of the kind a site would have now (ECDSA P-256).
mkdir -p "$work/tls"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj /CN=127.0.0.1 \
  -keyout "$work/tls/key.pem" -out "$work/tls/cert.pem" 2>/dev/null
start_server tls "sqlite:$work/sqlite/scores.db" --tls-cert "$work/tls/cert.pem" --tls-key "$work/tls/key.pem"
tls_port=$started_port
nginx_port=$(free_port)
nginx_tls_port=$(free_port)
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes auto;
worker_rlimit_nofile 65536;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 16384; }
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
  # The same page over TLS, with the same header velnor-server adds, and the same deadline for a
  # handshake and a head.
  server {
    listen 127.0.0.1:$nginx_tls_port ssl;
    ssl_certificate $work/tls/cert.pem;
    ssl_certificate_key $work/tls/key.pem;
    ssl_protocols TLSv1.2 TLSv1.3;
    client_header_timeout 5s;
    add_header Strict-Transport-Security "max-age=31536000" always;
    root $work/static;
  }
}
CONF
nginx -p "$work/nginx" -e "$work/nginx/error.log" -c "$work/nginx/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
wait_for_port "$nginx_port"
wait_for_port "$nginx_tls_port"

declare -A rps p99
run() {  # name, script, addresses...
  local name=$1; shift
  local r p
  read -r r p < <(measure "$@")
  rps[$name]="${rps[$name]:-} $r"
  p99[$name]="${p99[$name]:-} $p"
}
# HTTPS. Goals: the page over TLS at least at nginx's rate at 16 and 256 keep-alive connections; new
# TLS connections a second (one request on each) at least 0.8 of nginx's; with 1,000 clients that
# open a connection and never begin their handshakes, a new client's page p99 at most 20 ms, and every
# stalled handshake cut at the head's deadline (5 s).
tls_failed=0
curl -sk "https://127.0.0.1:$tls_port$page" | cmp -s - "$work/static/counter/velnorsolo.shtml" ||
  { echo "server_bench: the page over TLS differs from nginx's copy" >&2; exit 1; }
echo 'wrk.headers["Connection"] = "close"' >"$work/close.lua"
# shellcheck disable=SC2034  # measure() reads connections
for round in $(seq 1 $rounds); do
  for name in $( ((round % 2)) && echo "nginx velnor" || echo "velnor nginx"); do
    if [ "$name" = nginx ]; then url="https://127.0.0.1:$nginx_tls_port$page"; else url="https://127.0.0.1:$tls_port$page"; fi
    for size in 16 256; do
      connections=$size run "tls_${name}_$size" "" "$url"
    done
    connections=16 run "tls_${name}_new" "$work/close.lua" "$url"
  done
done
echo "HTTPS, the page over TLS ($rounds rounds, medians; wrk, $threads threads, ${seconds}s a run; the same ECDSA P-256 certificate):"
printf '  %-34s %12s %12s %8s %12s\n' "" "nginx req/s" "velnor req/s" ratio "velnor p99"
for kind in 16 256 new; do
  # shellcheck disable=SC2086
  {
    n=$(median ${rps[tls_nginx_$kind]}); v=$(median ${rps[tls_velnor_$kind]}); vp=$(median ${p99[tls_velnor_$kind]})
  }
  ratio=$(awk -v a="$v" -v b="$n" 'BEGIN { printf "%.2f", a / b }')
  if [ "$kind" = new ]; then label="new connections, 16 at once"; want=0.8; else label="keep-alive, $kind connections"; want=1.0; fi
  verdict=ok
  awk -v r="$ratio" -v m="$want" 'BEGIN { exit !(r >= m) }' || { verdict="BELOW $want OF NGINX"; tls_failed=1; }
  printf '  %-34s %12s %12s %8s %9s ms   %s\n' "$label" "$n" "$v" "$ratio" "$vp" "$verdict"
done
for name in velnor nginx; do
  if [ "$name" = nginx ]; then port=$nginx_tls_port; else port=$tls_port; fi
  # The stalled clients connect at once; the new client is measured while all of them are held (in
  # the 4 seconds before their deadline), and the crowd looks at 8 seconds for any still open.
  "$crowd" hold "$port" 1000 0 0 / 8 >"$work/stalled_$name.txt" &
  stalled_pid=$!
  sleep 1
  wrk -t1 -c4 -d3s --latency "https://127.0.0.1:$port$page" >"$work/stalled_page_$name.txt"
  wait "$stalled_pid"
  still_open=$(awk '/^after/ { print $4 }' "$work/stalled_$name.txt")
  stalled_p99=$(to_ms "$(awk '$1 == "99%" {print $2}' "$work/stalled_page_$name.txt")")
  verdict=ok
  if [ "$name" = velnor ]; then
    awk -v p="$stalled_p99" 'BEGIN { exit !(p <= 20) }' || { verdict="P99 ABOVE 20 MS"; tls_failed=1; }
    [ "$still_open" = 0 ] || { verdict="STALLED HANDSHAKES LEFT OPEN"; tls_failed=1; }
  fi
  echo "  $name, 1,000 handshakes never begun: a new client's page $(awk '/^Requests\/sec:/ {print $2}' "$work/stalled_page_$name.txt") req/s," \
    "p99 $stalled_p99 ms; after 8 s $still_open of 1,000 still open$(grep -h "Non-2xx\|Socket errors" "$work/stalled_page_$name.txt" | sed 's/^ */; /' | tr -d '\n')   $verdict"
done
[ "${BENCH_TLS_ONLY:-0}" = 1 ] && exit "$tls_failed"

echo "wrk: $threads threads, $connections connections, ${seconds}s per run, $rounds rounds; page of $(wc -c <"$work/static/counter/velnorsolo.shtml") bytes"
for round in $(seq 1 $rounds); do
  # Each round starts with a different server, so that none always runs on a warm or a tired machine.
  order=(nginx sqlite pg)
  order=("${order[@]:$((round - 1))}" "${order[@]:0:$((round - 1))}")
  for name in "${order[@]}"; do
    case $name in
      nginx) run nginx "" "http://127.0.0.1:$nginx_port$page" ;;
      sqlite) run sqlite_page "" "http://127.0.0.1:$sqlite_port$page" ;;
      pg) run pg_page "" "http://127.0.0.1:$pg_port$page" ;;
    esac
  done
  for name in $( ((round % 2)) && echo "sqlite pg pg2" || echo "pg2 pg sqlite"); do
    case $name in
      sqlite) run sqlite_post "$post" "http://127.0.0.1:$sqlite_port/" ;;
      pg) run pg_post "$post" "http://127.0.0.1:$pg_port/" ;;
      pg2) run pg2_post "$post" "http://127.0.0.1:$pg_port/" "http://127.0.0.1:$pg2_port/" ;;
    esac
  done
done

# shellcheck disable=SC2086
row() { printf '%-44s %12s %10s   %s\n' "$1" "$(median ${rps[$2]})" "$(median ${p99[$2]})" "p99 of each run:${p99[$2]}"; }
printf '%-44s %12s %10s\n' "medians of $rounds" "requests/s" "p99 (ms)"
row "nginx, static copy of the page" nginx
row "velnor-server page, SQLite" sqlite_page
row "velnor-server page, PostgreSQL" pg_page
row "velnor-server posting, SQLite, 1 server" sqlite_post
row "velnor-server posting, PostgreSQL, 1 server" pg_post
row "velnor-server posting, PostgreSQL, 2 servers" pg2_post

for store in sqlite pg; do
  port_var=${store}_port
  echo "postings with a game's record on $store, $connections connections, ${seconds}s a round, $rounds rounds (medians):"
  "$posting_cost" "${!port_var}" "$seconds" "$connections" | sed 's/^/  /'
done

# The rolls. Goals: a roll's p99 at most 20 ms with 1,000 games at once beside the page; rolls/s at
# least 0.8 of postings/s on each store; no score computed from the seed verified, every game played
# through the rolls verified, and their mean within 352.6 +- 5 (exact best play).
roll_failed=0
wrk -t1 -c4 -d"$((seconds * 2))s" --latency "http://127.0.0.1:$sqlite_port$page" >"$work/roll_page.txt" &
page_pid=$!
read -r live_rolls live_p50 live_p99 live_max live_failures < <("$rolls" live "$sqlite_port" 1000 100 $((seconds * 2)))
wait "$page_pid"
echo "a roll's answer, 1,000 games at once on SQLite (a roll every 100 ms each) beside the page (wrk, 4 connections):"
echo "  $live_rolls rolls, p50 $live_p50 ms, p99 $live_p99 ms, max $live_max ms, $live_failures failed games;" \
  "page $(awk '/^Requests\/sec:/ {print $2}' "$work/roll_page.txt") req/s, p99 $(to_ms "$(awk '$1 == "99%" {print $2}' "$work/roll_page.txt")") ms"
awk -v p="$live_p99" 'BEGIN { exit !(p <= 20) }' || { echo "  ROLL P99 ABOVE 20 MS"; roll_failed=1; }
for store in sqlite pg; do
  port_var=${store}_port
  roll_rates=()
  for round in $(seq 1 $rounds); do
    read -r r f < <("$rolls" rate "${!port_var}" "$connections" "$seconds")
    [ "$f" -eq 0 ] || { echo "server_bench: $f games failed their rolls on $store" >&2; exit 1; }
    roll_rates+=("$r")
  done
  roll_rate=$(median "${roll_rates[@]}")
  # shellcheck disable=SC2086
  post_rate=$(median ${rps[${store}_post]})
  ratio=$(awk -v a="$roll_rate" -v b="$post_rate" 'BEGIN { printf "%.2f", a / b }')
  verdict=ok
  awk -v r="$ratio" 'BEGIN { exit !(r >= 0.8) }' || { verdict="TOO FEW ROLLS"; roll_failed=1; }
  echo "rolls/s on $store, $connections clients (median of $rounds): $roll_rate; postings/s $post_rate; ratio $ratio (at least 0.8 wanted): $verdict"
done
read -r bot_mean bot_failures < <("$rolls" bots "$sqlite_port" 1000 100)
bot_count() { sqlite3 "$work/sqlite/scores.db" "SELECT count(*) FROM scores WHERE name = '$1' AND verified = $2"; }
echo "bots on SQLite: computed from the seed $(bot_count seedbot 1) of $(($(bot_count seedbot 1) + $(bot_count seedbot 0))) verified;" \
  "played through the rolls $(bot_count dealtbot 1) of $(($(bot_count dealtbot 1) + $(bot_count dealtbot 0))) verified;" \
  "mean of 1,000 played through the rolls $bot_mean (352.6 +- 5 wanted), $bot_failures failed"
[ "$(bot_count seedbot 1)" -eq 0 ] && [ "$(bot_count dealtbot 1)" -eq 100 ] && [ "$bot_failures" -eq 0 ] &&
  awk -v m="$bot_mean" 'BEGIN { exit !(m >= 347.6 && m <= 357.6) }' || { echo "  BOTS OFF THEIR GOALS"; roll_failed=1; }
[ "${BENCH_ROLLS_ONLY:-0}" = 1 ] && exit "$roll_failed"

# shellcheck disable=SC2086
nginx_rps=$(median ${rps[nginx]})
# shellcheck disable=SC2086
nginx_p99=$(median ${p99[nginx]})
p99_limit=$(awk -v n="$nginx_p99" -v f="$max_p99_ratio" -v m="$p99_floor_ms" 'BEGIN { v = n * f; print (v > m ? v : m) }')
failed=0
for store in sqlite pg; do
  # shellcheck disable=SC2086
  ratio=$(awk -v a="$(median ${rps[${store}_page]})" -v b="$nginx_rps" 'BEGIN { printf "%.2f", a / b }')
  # shellcheck disable=SC2086
  latency=$(median ${p99[${store}_page]})
  verdict=ok
  awk -v r="$ratio" -v m="$min_ratio" 'BEGIN { exit !(r >= m) }' || verdict="TOO SLOW"
  awk -v p="$latency" -v l="$p99_limit" 'BEGIN { exit !(p <= l) }' || verdict="P99 TOO HIGH"
  [ "$verdict" = ok ] || failed=1
  echo "page on $store / nginx: $ratio (at least $min_ratio wanted); p99 ${latency} ms (at most $p99_limit ms wanted): $verdict"
done

# The page at each number of connections, beside nginx, counted per connection: a server that serves
# some connections and starves others shows in the fewest requests any one connection got.
declare -A crowd_rps crowd_fair
# The postings above made the page longer: nginx serves it as it is now, byte for byte.
http_body "$sqlite_port" "$page" >"$work/static/counter/velnorsolo.shtml"
for round in $(seq 1 $crowd_rounds); do
  for size in 16 64 256 1024; do
    for name in $( ((round % 2)) && echo "nginx sqlite" || echo "sqlite nginx"); do
      port_var=${name}_port
      read -r r fewest mean failures < <("$crowd" fair "${!port_var}" "$size" "$seconds" "$page")
      [ "$failures" -eq 0 ] || { echo "server_bench: $name had $failures failed requests at $size connections" >&2; exit 1; }
      crowd_rps[$name$size]="${crowd_rps[$name$size]:-} $r"
      crowd_fair[$name$size]="${crowd_fair[$name$size]:-} $(awk -v f="$fewest" -v m="$mean" 'BEGIN { printf "%.2f", f / m }')"
    done
  done
done
echo "the page ($(wc -c <"$work/static/counter/velnorsolo.shtml") bytes) at each number of keep-alive connections, counted per connection (medians of $crowd_rounds):"
printf '  %-12s %12s %12s %8s %26s\n' connections "nginx req/s" "velnor req/s" ratio "fewest/mean, velnor nginx"
for size in 16 64 256 1024; do
  # shellcheck disable=SC2086
  {
    n=$(median ${crowd_rps[nginx$size]}); v=$(median ${crowd_rps[sqlite$size]})
    vf=$(median ${crowd_fair[sqlite$size]}); nf=$(median ${crowd_fair[nginx$size]})
  }
  printf '  %-12s %12s %12s %8s %20s %5s\n' "$size" "$n" "$v" "$(awk -v a="$v" -v b="$n" 'BEGIN { printf "%.2f", a / b }')" "$vf" "$nf"
done

# What a crowd costs a new client: idle connections first, to weigh each one, then the whole crowd.
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
sqlite_pid=${pids[0]}
head -c 50000000 /dev/urandom >"$work/big.exe"
mkdir -p "$work/sqlite/release" && mv "$work/big.exe" "$work/sqlite/release/vnssetup.exe"
before=$(rss_kib "$sqlite_pid")
"$crowd" hold "$sqlite_port" 10000 0 0 / 6 >"$work/idle.txt" &
idle_pid=$!
sleep 4
during=$(rss_kib "$sqlite_pid")
wait "$idle_pid"
echo "10,000 idle connections: resident memory $before KiB before, $during KiB while held: $(awk -v a="$before" -v b="$during" 'BEGIN { printf "%.2f", (b - a) / 10000 }') KiB each"
"$crowd" hold "$sqlite_port" 10000 1000 16 /velnorsolo/vnssetup.exe $((seconds * 2 + 8)) >"$work/crowd.txt" &
crowd_pid=$!
sleep 4
wrk -t1 -c4 -d"${seconds}s" --latency "http://127.0.0.1:$sqlite_port$page" >"$work/crowd_page.txt"
wrk -t1 -c4 -d"${seconds}s" -s "$post" "http://127.0.0.1:$sqlite_port/" >"$work/crowd_post.txt"
wait "$crowd_pid"
sed 's/^/  /' "$work/crowd.txt"
echo "  meanwhile a new client's page: $(awk '/^Requests\/sec:/ {print $2}' "$work/crowd_page.txt") req/s, p99 $(to_ms "$(awk '$1 == "99%" {print $2}' "$work/crowd_page.txt")") ms; postings $(awk '/^Requests\/sec:/ {print $2}' "$work/crowd_post.txt")/s$(grep -h "Non-2xx\|Socket errors" "$work/crowd_page.txt" "$work/crowd_post.txt" | sed 's/^ */; /' | tr -d '\n')"

store_growth || failed=1
[ "$roll_failed" -eq 0 ] || failed=1
[ "$tls_failed" -eq 0 ] || failed=1
exit $failed
