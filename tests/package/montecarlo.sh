#!/bin/sh
# The Monte Carlo of examples/turbulence_montecarlo.m run serially, over
# local processes (parcellfun) and on two servers of the parallel package
# (pserver, pconnect, netcellfun) on this machine: every form gives the
# serial results bit for bit (tests/package/montecarlo_check.m), against the
# modules in BUILD/octave. Ends in "N passed, M failed".
#
# The client reaches every server on the same fixed ports (12502 commands,
# 12501 data), so two servers on one machine need two network stacks; and
# the servers run without authentication (Debian's build of the package
# has no TLS), so nothing but this test may reach them. Each server
# therefore gets a network namespace of its own, joined by a virtual link
# only to the client's, which is itself new: loopback and the two links,
# no way out. Everything runs in a new PID namespace: when its first
# process ends (done, failed, or killed at the time limit MC_TIME_LIMIT,
# default 300 s) the kernel ends every process in it, the servers and
# their sessions too, and a tmpfs over /tmp in each namespace takes the
# servers' pid files and logs with it. The servers run under a user
# namespace as an ordinary user (they refuse to run as root). Without
# unshare (util-linux), user namespaces and iproute2, only the serial and
# local forms run, and the output says so.
#
#   tests/package/montecarlo.sh --example   runs examples/turbulence_montecarlo.m
#     on the two servers instead (its full size; it prints the times of the
#     loop, of parcellfun and of netcellfun)
set -u
cd "$(dirname "$0")/../.." || exit 1
PATH=$PATH:/usr/sbin:/sbin
BUILD=${BUILD:-build}
OCTAVE=${OCTAVE:-octave-cli --no-gui --no-history --norc --quiet}
LIMIT=${MC_TIME_LIMIT:-300}
OCTAVE_HISTFILE=/dev/null
export OCTAVE_HISTFILE
self="$PWD/tests/package/montecarlo.sh"
check() {
  $OCTAVE --eval "addpath('$PWD/$BUILD/octave'); addpath('$PWD/tests/package'); exit(montecarlo_check($1))"
}

# A private /tmp for this namespace: a new tmpfs. A checkout that lies
# under /tmp would vanish beneath it, so it is bound back at its own path
# (from the working directory, which still holds it; not canonicalised, as
# the path would now name the empty tmpfs).
private_tmp() {
  repo=$PWD
  mount -t tmpfs -o mode=1777 tmpfs /tmp || return 1
  case $repo in
  /tmp/*)
    mkdir -p "$repo" && mount --no-canonicalize --bind /proc/self/cwd "$repo" || return 1
    ;;
  esac
}

# Waits up to $2 tenths of a second for the command $1 to succeed.
await() {
  n=0
  until eval "$1" 2>/dev/null; do
    n=$((n + 1))
    [ "$n" -ge "$2" ] && return 1
    sleep 0.1
  done
}

case ${1:-} in
--node)
  # A server machine: its own network (one link to the client), host name
  # and /tmp. Waits for its link, then starts a server in the background.
  i=$2
  private_tmp || { echo "node $i: no private /tmp"; exit 1; }
  hostname "kvnode$i"
  ip link set lo up
  await "ip link show kvs$i >/dev/null" 100 || { echo "node $i: no link"; exit 1; }
  ip addr add "10.251.$i.2/24" dev "kvs$i"
  ip link set "kvs$i" up
  ip route add default via "10.251.$i.1"
  HOME=/tmp
  export HOME
  # uid 1000 inside a user namespace of its own: the server refuses root.
  # The first server may use one CPU, so its FFTs take another number of
  # threads than the client's.
  pin=
  if [ "$i" = 1 ] && command -v taskset >/dev/null; then pin="taskset -c 0"; fi
  $pin unshare --map-user=1000 --map-group=1000 "$KV_PSERVER" --octave-binary="$KV_OCTAVE_BIN" --no-auth \
    >/dev/null || { echo "node $i: the server did not start"; exit 1; }
  exec sleep "$LIMIT"
  ;;
--client)
  # The client machine, first process of the PID namespace: when this
  # shell exits, every process below it ends.
  private_tmp || { echo "no private /tmp"; echo "0 passed, 1 failed"; exit 1; }
  hostname kvclient
  ip link set lo up
  echo 1 >/proc/sys/net/ipv4/ip_forward
  # The machines' names, as on a cluster, where every name resolves on
  # every machine.
  printf '127.0.0.1 localhost\n10.251.1.1 kvclient\n10.251.2.1 kvclient\n10.251.1.2 kvnode1\n10.251.2.2 kvnode2\n' >/tmp/hosts
  mount --bind /tmp/hosts /etc/hosts
  pids=
  for i in 1 2; do
    unshare --net --uts --mount "$self" --node "$i" &
    pid=$!
    pids="$pids $pid"
    await "[ \"\$(readlink /proc/$pid/ns/net)\" != \"\$(readlink /proc/self/ns/net)\" ]" 100 \
      || { echo "node $i: no network namespace"; echo "0 passed, 1 failed"; exit 1; }
    ip link add "kvc$i" type veth peer name "kvs$i" netns "$pid" \
      || { echo "no virtual network link (veth) to node $i"; echo "0 passed, 1 failed"; exit 1; }
    ip addr add "10.251.$i.1/24" dev "kvc$i"
    ip link set "kvc$i" up
  done
  # Listening on the command port 12502 (hex 30D6; state 0A is LISTEN).
  for pid in $pids; do
    await "grep -q ':30D6 00000000:0000 0A' /proc/$pid/net/tcp" 300 \
      || { echo "a server does not listen"; echo "0 passed, 1 failed"; exit 1; }
  done
  if [ "${2:-}" = example ]; then
    $OCTAVE --eval "addpath('$PWD/$BUILD/octave'); addpath('$PWD/examples'); graphics_toolkit('gnuplot'); set(0, 'defaultfigurevisible', 'off'); mc_hosts = {'kvnode1', 'kvnode2'}; turbulence_montecarlo"
  else
    check "{'kvnode1', 'kvnode2'}"
  fi
  status=$?
  if [ "$status" -ne 0 ]; then
    for pid in $pids; do
      for log in /proc/"$pid"/root/tmp/octave_error-*; do
        [ -s "$log" ] && { echo "== $log"; cat "$log"; }
      done
    done
  fi
  exit "$status"
  ;;
esac

mode=${1:-}
mode=${mode#--}
if command -v ip >/dev/null && command -v unshare >/dev/null \
  && unshare --user --map-root-user --net --pid --fork --mount-proc true 2>/dev/null; then
  KV_PSERVER=$($OCTAVE --eval "pkg load parallel; d = fullfile(fileparts(which('pserver')), 'bin', 'octave-pserver'); if (! exist(d, 'file')) d = '/usr/libexec/octave-pserver'; end; disp(d)" 2>/dev/null)
  KV_OCTAVE_BIN=$($OCTAVE --eval "b = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli'); if (exist([b '-' OCTAVE_VERSION()], 'file')) b = [b '-' OCTAVE_VERSION()]; end; disp(b)")
  export KV_PSERVER KV_OCTAVE_BIN LIMIT
  if [ -z "$KV_PSERVER" ] || [ ! -x "$KV_PSERVER" ]; then
    echo "  FAIL  no octave-pserver (the parallel package, Debian octave-parallel)"
    echo "0 passed, 1 failed"
    exit 1
  fi
  timeout -k 5 "$LIMIT" unshare --user --map-root-user --net --pid --mount --uts --fork --kill-child \
    --mount-proc "$self" --client "$mode"
  status=$?
  case $status in
    124 | 137)
      echo "  FAIL  killed at the time limit of $LIMIT s"
      echo "0 passed, 1 failed"
      ;;
  esac
  exit "$status"
else
  echo "  skip  the two servers: they need unshare (util-linux) with user namespaces, and iproute2"
  check "{}"
fi
