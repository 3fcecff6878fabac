#!/usr/bin/env bash
# Start-up of velnorsolo beside a minimal Qt Widgets program (bench/startup/minimal_window: one
# main window holding a label), both under Xvfb: the wall time and the CPU time from launch to the
# first paint of the main window, and the peak resident memory; then what velnorsolo does over ten
# idle seconds at its start screen, thread by thread. Prints medians and the ratios
# velnorsolo / minimal.
#
#   bench/startup_bench.sh
#   BENCH_RUNS=15 BENCH_IDLE_RUNS=3 bench/startup_bench.sh
#
# How the first paint is seen: neither program is changed. A probe library
# (bench/startup/first_paint_probe.cpp) is preloaded into both with LD_PRELOAD; when the
# application object is created it installs an application event filter, and when the first
# top-level window is exposed it lets the window handle that expose (which paints every widget
# into the backing store and flushes it to the X server) and then writes the wall-clock time.
# The start time is taken by this script just before it forks the program, so a figure covers
# fork, exec, dynamic loading, static initialisation, building the windows, the paint and the
# flush. Both programs carry the same probe, in the same Xvfb, with the same environment, and
# their runs alternate; polling the screen from outside instead would add the capture time of
# a screenshot (tens of milliseconds) to the error of each figure.
#
# Each program gets a fresh folder (the game keeps its settings beside itself, and opens its sound
# module from there), a private runtime folder (the game's single-instance lock) and a private
# PulseAudio server with a null sink, so that the game's welcome cue is played as on a desktop.
# The game starts with its defaults: the name panel is up, and the update check asks the server
# base built in (nothing needs to answer).
#
# Peak resident memory: /usr/bin/time -v, "Maximum resident set size", the program being ended
# with SIGTERM two seconds after its first paint, when the welcome cue has played (a SIGTERM skips
# the normal exit; that changes nothing for the peak).
#
# Idle: for every thread of the game (/proc/PID/task/*), the nanoseconds it ran and the times it
# was put on a processor (both from its schedstat), and its context switches, before and after ten
# seconds that start three seconds after the first paint, with the window given the input focus
# and the pointer off the window. Clock ticks (10 ms) would round a thread that wakes briefly down
# to nothing. Measured twice: with the name panel up as the game starts (its edit box has the
# focus), and after a click on its DONE button dismissed it. Threads are named by their comm.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-9}
idle_runs=${BENCH_IDLE_RUNS:-5}
idle_seconds=10
idle_settle_seconds=3
memory_settle_seconds=2
build="$top/build/bench-startup"

if [ -z "${VELNOR_BENCH_XVFB:-}" ]; then
  [ -f "$build/build.ninja" ] ||
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELNOR_TESTS=OFF -DVELNOR_BENCH=ON >/dev/null
  cmake --build "$build" -j2 --target velnorsolo minimal_window first_paint_probe >/dev/null
  for tool in xvfb-run xdotool import pulseaudio pactl; do
    command -v "$tool" >/dev/null || { echo "startup_bench: $tool is missing (scripts/deps.sh lists it)" >&2; exit 1; }
  done
  [ -x /usr/bin/time ] || { echo "startup_bench: /usr/bin/time is missing (package time, in scripts/deps.sh)" >&2; exit 1; }
  export VELNOR_BENCH_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d /tmp/velnor-startup-bench.XXXXXX)
pulse_pid=
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then
    pkill -TERM -P "$program_pid" 2>/dev/null || true  # the program, when a wrapper started it
    kill -TERM "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
  fi
  [ -n "$pulse_pid" ] && kill -TERM "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "startup_bench: $*" >&2
  [ -s "$work/stderr.log" ] && { echo "what the programs wrote:" >&2; tail -n 20 "$work/stderr.log" >&2; }
  exit 1
}

# Sleeps without starting a process, so that polling takes no CPU from the program measured.
exec {nap_fd}<> <(:)
nap() { read -r -t "$1" -u "$nap_fd" || true; }

# A PulseAudio server of our own, on a socket of our own; whatever server the user runs is left alone.
mkdir -p "$work/pulse"
HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" XDG_CONFIG_HOME="$work/pulse/config" \
  PULSE_RUNTIME_PATH="$work/pulse/runtime" PULSE_STATE_PATH="$work/pulse/state" \
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no --log-target=stderr \
  "--load=module-null-sink sink_name=velnorbench" \
  "--load=module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" 2>"$work/pulse.log" &
pulse_pid=$!
export PULSE_SERVER="unix:$work/pulse/native"
deadline=$((SECONDS + 20))
until pactl info >/dev/null 2>&1; do
  kill -0 "$pulse_pid" 2>/dev/null || { cat "$work/pulse.log" >&2; pulse_pid=; fail "PulseAudio did not start"; }
  [ $SECONDS -lt $deadline ] || fail "PulseAudio did not answer"
  nap 0.1
done

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir "$work/game" "$work/minimal"
cp "$build/src/app/velnorsolo" "$build/src/app/velnorsolo-sound.so" "$work/game/"
cp "$build/bench/minimal_window" "$work/minimal/minimal_window"
programs=("$work/game/velnorsolo" "$work/minimal/minimal_window")
probe="$build/bench/libfirst_paint_probe.so"
report="$work/painted.txt"
: >"$work/stderr.log"

# Starts a program with the probe, in the program's folder, through the wrapper command given
# after it if any (which then does not get the probe); sets launch_time (seconds) and program_pid
# (the process forked: the wrapper or the program).
launch() {
  local program=$1; shift
  local probe_env=(LD_PRELOAD="$probe" VELNOR_PROBE_OUT="$report" VELNOR_PROBE_LOCATE=button_namedone)
  rm -f "$report"
  painted_pid=
  launch_time=${EPOCHREALTIME/,/.}
  if [ $# -eq 0 ]; then
    (cd "$(dirname "$program")" && export "${probe_env[@]}" && exec "$program") 2>>"$work/stderr.log" &
  else
    (cd "$(dirname "$program")" && exec "$@" env "${probe_env[@]}" "$program") 2>>"$work/stderr.log" &
  fi
  program_pid=$!
}
# Waits for the probe's report; sets painted_time, painted_pid, window_id, painted_cpu_ns and, for
# the game, done_x and done_y (the DONE button of the name panel).
wait_painted() {
  local deadline=$((SECONDS + 30)) word
  until [ -f "$report" ]; do
    kill -0 "$program_pid" 2>/dev/null || fail "a program ended before its first paint"
    [ $SECONDS -lt $deadline ] || fail "no first paint within 30 s"
    nap 0.02
  done
  read -r word painted_time painted_pid window_id painted_cpu_ns <"$report"
  [ "$word" = painted ] || fail "the probe wrote something unexpected"
  done_x='' done_y=''
  read -r word done_x done_y < <(sed -n 2p "$report") || true
}
# Ends the program started last and waits for it (and for its wrapper).
finish() {
  kill -TERM "$painted_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=
}
elapsed_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'; }
# One line per thread of the process: "TID NAME RUN_NS TIMESLICES SWITCHES".
threads() {
  local task name run wait slices switches
  for task in /proc/"$1"/task/*; do
    read -r run wait slices <"$task/schedstat" 2>/dev/null || continue
    name=$(<"$task/comm")
    switches=$(awk '/ctxt_switches/ { n += $2 } END { print n + 0 }' "$task/status")
    echo "${task##*/} ${name// /_} $run $slices $switches"
  done
}

# One run of each that is not counted warms the caches; it also checks that what the probe calls
# the first paint is really on the screen: the window shows more than one colour.
for program in "${programs[@]}"; do
  name=$(basename "$program")
  launch "$program"
  wait_painted
  colours=$(import -window "$window_id" png:- | identify -format '%k' -)
  [ "$colours" -gt 1 ] || fail "$name: the window was blank when the probe reported its first paint"
  finish
done

results="$work/results.txt"
read -r load_before _ </proc/loadavg
for ((i = 0; i < runs; i++)); do
  for program in "${programs[@]}"; do
    launch "$program"
    wait_painted
    echo "$(basename "$program").paint $(elapsed_ms "$launch_time" "$painted_time")" >>"$results"
    echo "$(basename "$program").cpu $(awk -v ns="$painted_cpu_ns" 'BEGIN { printf "%.1f\n", ns / 1e6 }')" >>"$results"
    finish
  done
done
for ((i = 0; i < runs; i++)); do
  for program in "${programs[@]}"; do
    launch "$program" /usr/bin/time -v -o "$work/time.txt"
    wait_painted
    nap "$memory_settle_seconds"
    finish
    kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    [ -n "$kib" ] || fail "/usr/bin/time reported no peak memory"
    echo "$(basename "$program").rss $kib" >>"$results"
  done
done

for state in shown dismissed; do
  for ((i = 0; i < idle_runs; i++)); do
    launch "$work/game/velnorsolo"
    wait_painted
    [ -n "$done_x" ] || fail "the probe did not find the name panel's DONE button"
    timeout 10 xdotool mousemove 1023 767 windowfocus --sync "$window_id" || fail "could not focus the window"
    [ $state = dismissed ] && xdotool mousemove "$done_x" "$done_y" click 1 mousemove 1023 767
    nap "$idle_settle_seconds"
    threads "$painted_pid" >"$work/before.txt" || fail "the game ended while idle"
    nap "$idle_seconds"
    threads "$painted_pid" >"$work/after.txt" || fail "the game ended while idle"
    # The user-interface thread is the main thread, whose id is the process's.
    awk -v state="$state" -v main="$painted_pid" '
      NR == FNR { run[$1] = $3; slices[$1] = $4; switches[$1] = $5; next }
      {
        name = ($1 == main) ? "ui-thread" : $2
        printf "idle.%s.%s.run %d\n", state, name, ($3 - run[$1]) / 1000
        printf "idle.%s.%s.wakeups %d\n", state, name, $4 - slices[$1]
        printf "idle.%s.%s.switches %d\n", state, name, $5 - switches[$1]
      }' "$work/before.txt" "$work/after.txt" >>"$results"
    finish
  done
done
read -r load_after _ </proc/loadavg

awk -v runs="$runs" -v idle_runs="$idle_runs" -v idle_s="$idle_seconds" \
  -v load_before="$load_before" -v load_after="$load_after" '
  { values[$1] = values[$1] " " $2; if ($1 ~ /^idle\./) { split($1, k, "."); threads[k[2] "." k[3]] = 1 } }
  function median(key,   v, n, i, j, t) {
    n = split(values[key], v, " ")
    if (n == 0) return 0
    for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  END {
    gp = median("velnorsolo.paint"); mp = median("minimal_window.paint")
    gc = median("velnorsolo.cpu"); mc = median("minimal_window.cpu")
    gr = median("velnorsolo.rss") / 1024; mr = median("minimal_window.rss") / 1024
    printf "start-up under Xvfb, median of %d alternating runs each (load average %s before, %s after)\n", runs, load_before, load_after
    printf "  %-28s %14s %14s %14s\n", "", "first paint", "CPU to paint", "peak RSS"
    printf "  %-28s %11.1f ms %11.1f ms %10.1f MiB\n", "velnorsolo", gp, gc, gr
    printf "  %-28s %11.1f ms %11.1f ms %10.1f MiB\n", "minimal Qt Widgets window", mp, mc, mr
    printf "  %-28s %14.2f %14.2f %14.2f\n", "ratio velnorsolo / minimal", gp / mp, gc / mc, gr / mr
    printf "velnorsolo idle at its start screen for %d s, median of %d runs, by thread\n", idle_s, idle_runs
    printf "  %-40s %12s %10s %10s\n", "", "ran (us)", "wake-ups", "switches"
    n = 0
    for (t in threads) names[++n] = t
    for (i = 2; i <= n; i++) for (j = i; j > 1 && names[j - 1] > names[j]; j--) { t = names[j]; names[j] = names[j - 1]; names[j - 1] = t }
    for (i = 1; i <= n; i++) {
      t = names[i]
      printf "  %-40s %12d %10d %10d\n", "name panel " t, median("idle." t ".run"), median("idle." t ".wakeups"), median("idle." t ".switches")
    }
  }' "$results"
