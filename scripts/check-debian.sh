#!/usr/bin/env bash
# Builds and tests the committed HEAD on a fresh, minimal Debian 12 or 13:
#   sudo ./scripts/check-debian.sh 12|13
# debootstraps the release into a temporary folder, clones this repository into it, runs
# the README's test command there under chroot, then unmounts and removes everything.
# VELBRIN_DEB_CACHE=/some/folder keeps the downloaded .deb files between runs (optional).
# VELBRIN_DEBIAN_MIRROR overrides the mirror (default: the one this machine's apt uses).
set -euo pipefail

case "${1:-}" in
  12) codename=bookworm ;;
  13) codename=trixie ;;
  *)
    echo "usage: $0 12|13" >&2
    exit 2
    ;;
esac
release=$1
[ "$(id -u)" -eq 0 ] || { echo "check-debian.sh: debootstrap and chroot need root" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "check-debian.sh: apt-get install debootstrap" >&2; exit 1; }

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse HEAD)
git -C "$repo" diff --quiet HEAD || echo "check-debian.sh: uncommitted changes are not checked" >&2

host_mirror() {
  local f found=""
  for f in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -r "$f" ] || continue
    found=$(sed -nE 's#^(URIs:[[:space:]]*|deb[[:space:]]+(\[[^]]*\][[:space:]]+)?)(https?://[^[:space:]]*/debian)/?([[:space:]].*)?$#\3#p' "$f")
    [ -z "$found" ] || break
  done
  echo "${found%%$'\n'*}"
}
mirror=${VELBRIN_DEBIAN_MIRROR:-$(host_mirror)}
mirror=${mirror:-http://deb.debian.org/debian}
security=${mirror%/debian}/debian-security

start=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/var/tmp}/velbrin-debian$release.XXXXXX")
root=$work/root
result=FAILED

# Mounts under the folder, deepest first.
mounts_below() { awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts | sort -r; }

cleanup() {
  local code=$?
  set +e
  # Anything still running inside (a test's server, a dbus daemon) would keep mounts busy.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -KILL "${p#/proc/}" 2>/dev/null
  done
  for m in $(mounts_below); do umount -R "$m" 2>/dev/null || umount -l "$m"; done
  if [ -n "$(mounts_below)" ]; then
    echo "check-debian.sh: still mounted, left in place: $work" >&2
  else
    rm -rf --one-file-system "$work"
  fi
  local seconds=$(($(date +%s) - start))
  printf 'check-debian.sh %s (%s): %s, commit %s, wall time %dm%02ds\n' \
    "$release" "$codename" "$result" "${commit:0:12}" $((seconds / 60)) $((seconds % 60))
  exit "$code"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cache_args=()
if [ -n "${VELBRIN_DEB_CACHE:-}" ]; then
  cache=$(realpath -m "$VELBRIN_DEB_CACHE")/$codename
  mkdir -p "$cache"
  cache_args=(--cache-dir="$cache")
fi

echo "== debootstrap $codename from $mirror"
debootstrap --variant=minbase --include=ca-certificates "${cache_args[@]}" \
  "$codename" "$root" "$mirror" > "$work/debootstrap.log" 2>&1 ||
  { tail -n 30 "$work/debootstrap.log" >&2; exit 1; }

cat > "$root/etc/apt/sources.list" <<SOURCES
deb $mirror $codename main
deb $mirror $codename-updates main
deb $security $codename-security main
SOURCES
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages must not start services inside the chroot.
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
[ -z "${cache:-}" ] || mount --bind "$cache" "$root/var/cache/apt/archives"

echo "== clone $commit"
git clone --quiet --no-checkout "$repo" "$root/src/velbrin"
git -C "$root/src/velbrin" checkout --quiet --detach "$commit"

test_command=$(sed -n 's#^\(\./scripts/run-tests\.sh\).*#\1#p' "$root/src/velbrin/README.md" | head -n1)
[ -n "$test_command" ] || { echo "check-debian.sh: no test command in README.md" >&2; exit 1; }
echo "== $test_command (Debian $release, in chroot)"
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c "cd /src/velbrin && $test_command"
result=PASSED
