# shellcheck shell=bash
# The chroot machinery of scripts/octave_versions.sh and
# scripts/fresh_root.sh, sourced by both (bash): the Debian mirror, making a
# root with debootstrap, entering it with /proc mounted in a mount namespace
# of its own, removing it.

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# The Debian mirror: $MIRROR when set, else the first Debian archive this
# machine's apt reads (/etc/apt/sources.list and sources.list.d/*.list in
# the one-line format, sources.list.d/*.sources in the deb822 format): an
# entry of type deb, enabled, whose suite is a Debian release (the host's
# own codename, or a Debian name such as bookworm, trixie, sid, stable),
# not a security or updates suite. Prints the URI without its trailing
# slash; fails, saying so, when there is none.
apt_mirror() {
  if [ -n "${MIRROR:-}" ]; then
    echo "${MIRROR%/}"
    return 0
  fi
  local root=${APT_ROOT:-} codename files=() f uri
  # shellcheck disable=SC1091
  codename=$(. "$root/etc/os-release" 2>/dev/null && echo "${VERSION_CODENAME:-}")
  [ -f "$root/etc/apt/sources.list" ] && files+=("$root/etc/apt/sources.list")
  for f in "$root"/etc/apt/sources.list.d/*.list "$root"/etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  uri=$(awk -v host="$codename" '
    function debian_suite(s) {
      if (s ~ /-(security|updates|backports|proposed-updates)$/ || s ~ /\//) return 0
      return s == host || s ~ /^(sid|unstable|testing|stable|oldstable|oldoldstable|experimental|forky|trixie|bookworm|bullseye|buster|stretch)$/
    }
    function pick(types, uris, suites, enabled,   nt, t, nu, u, ns, s, i, j, k) {
      if (tolower(enabled) == "no") return
      nt = split(types, t, /[ \t]+/)
      for (i = 1; i <= nt; i++) if (t[i] == "deb") break
      if (i > nt) return
      nu = split(uris, u, /[ \t]+/)
      ns = split(suites, s, /[ \t]+/)
      for (j = 1; j <= nu; j++) {
        if (u[j] !~ /^(https?|file|ftp):/ || u[j] ~ /-security\/?$/) continue
        for (k = 1; k <= ns; k++) if (debian_suite(s[k])) { print u[j]; found = 1; exit }
      }
    }
    function flush() { if (types != "") pick(types, uris, suites, enabled); types = uris = suites = enabled = "" }
    FNR == 1 { flush(); deb822 = (FILENAME ~ /\.sources$/) }
    deb822 {
      if ($0 ~ /^[ \t]*$/) { flush(); next }
      if ($0 ~ /^#/) next
      line = $0; sub(/^[^:]*:[ \t]*/, "", line); sub(/[ \t]+$/, "", line)
      if ($0 ~ /^Types:/) types = line
      else if ($0 ~ /^URIs:/) uris = line
      else if ($0 ~ /^Suites:/) suites = line
      else if ($0 ~ /^Enabled:/) enabled = line
      next
    }
    {
      line = $0; sub(/#.*/, "", line); gsub(/\[[^]]*\]/, " ", line)
      n = split(line, w, /[ \t]+/)
      i = (w[1] == "") ? 2 : 1
      if (w[i] == "deb" && i + 2 <= n) pick("deb", w[i + 1], w[i + 2], "")
    }
    END { if (!found) flush() }
  ' "${files[@]}" /dev/null)
  if [ -z "$uri" ]; then
    echo "no Debian mirror in this machine's apt sources (/etc/apt/sources.list," \
      "/etc/apt/sources.list.d/): set MIRROR to one" >&2
    return 1
  fi
  echo "${uri%/}"
}

# The mount points under DIR, deepest first (none outside a run).
mounts_under() {
  awk -v d="$1" '$2 == d || index($2, d "/") == 1 { print $2 }' /proc/self/mounts | sort -r
}

# Removes the chroot DIR; refuses while anything is mounted in it, so that a
# mount made by hand can never take the host's files with it.
remove_tree() {
  local dir=$1 m
  for m in $(mounts_under "$dir"); do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done
  if [ -n "$(mounts_under "$dir")" ]; then
    echo "still mounted under $dir: $(mounts_under "$dir" | tr '\n' ' '); not removed" >&2
    return 1
  fi
  rm -rf --one-file-system "$dir"
}

# Makes a minimal Debian RELEASE in ROOT with debootstrap from MIRROR (the
# variant minbase; INCLUDE, comma-separated, adds packages), through
# ROOT.new, so that ROOT is either whole or absent. Writes debootstrap's
# output to LOG and shows its end when it fails.
bootstrap_root() {
  local release=$1 root=$2 mirror=$3 log=$4 include=${5:-}
  if [ -e "$root.new" ]; then
    remove_tree "$root.new" || return 1
  fi
  remove_tree "$root" || return 1
  mkdir -p "$(dirname "$root")"
  # debootstrap mounts /proc (and more) in the new tree for its second
  # stage: in a mount namespace of its own, none of it can stay behind.
  if ! unshare --mount --propagation private \
    debootstrap --variant=minbase ${include:+--include="$include"} "$release" "$root.new" "$mirror" \
    >"$log" 2>&1; then
    tail -20 "$log"
    [ -f "$root.new/debootstrap/debootstrap.log" ] && tail -20 "$root.new/debootstrap/debootstrap.log"
    echo "debootstrap $release failed"
    return 1
  fi
  mv "$root.new" "$root"
  # Names resolve in the chroot as on the host; no service starts in it.
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  # The chroot's apt takes an expired Release file (sid's is valid for a
  # week) when the host's does: a mirror that serves a fixed snapshot.
  apt-config dump | grep -E '^Acquire::Check-(Valid-Until|Date) "false";$' \
    >"$root/etc/apt/apt.conf.d/99korvane-host"
}

# Runs a command in the chroot ROOT with /proc mounted there (and the host's
# /dev, when debootstrap could not make the device nodes), in a mount
# namespace of its own: the mounts end with the command, whatever happens to
# it, and the trap unmounts them before that. The environment is clean: PATH,
# HOME=/root, DEBIAN_FRONTEND and the host's OpenBLAS settings (some
# processors need them); LANG=C.UTF-8 unless ENTER_LANG says otherwise
# (empty: no locale at all, as on a fresh machine).
enter() {
  local root=$1 keep=() v
  shift
  for v in OPENBLAS_CORETYPE OPENBLAS_L2_SIZE; do
    [ -n "${!v:-}" ] && keep+=("$v=${!v}")
  done
  if [ -n "${ENTER_LANG-C.UTF-8}" ]; then
    keep+=("LANG=${ENTER_LANG-C.UTF-8}")
  fi
  # shellcheck disable=SC2016
  unshare --mount --propagation private /bin/bash -c '
    root=$1
    shift
    dev=0
    cleanup() {
      [ $dev = 1 ] && umount "$root/dev"
      umount "$root/proc"
    }
    trap cleanup EXIT
    trap "exit 130" INT TERM HUP
    mount -t proc proc "$root/proc" || exit 1
    if [ ! -c "$root/dev/null" ]; then
      mount --bind /dev "$root/dev" || exit 1
      dev=1
    fi
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      HOME=/root DEBIAN_FRONTEND=noninteractive "$@"
  ' enter "$root" ${keep[@]+"${keep[@]}"} "$@"
}
