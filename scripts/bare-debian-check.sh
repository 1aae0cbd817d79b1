#!/usr/bin/env bash
# Runs the README's test command in a bare Debian 12 system, as a new
# machine would: a minimal debootstrap, nothing installed by hand, a fresh
# clone of this checkout's HEAD. Needs root and debootstrap on this machine.
#   scripts/bare-debian-check.sh <folder for the system> [command, default: bash scripts/test.sh]
# The folder is reused when it already holds a system; the clone is fresh on
# every run.
set -eu
here="$(cd "$(dirname "$0")/.." && pwd)"
root="$(realpath -m "$1")"
shift
command="${*:-bash scripts/test.sh}"

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "Making a bare Debian 12 system in $root"
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
fi

# This network answers TLS with certificates of its own authorities: the
# system trusts what this machine trusts, as any machine here must. That is
# the network's doing, not Orbisk's.
if [ -n "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f "$NODE_EXTRA_CA_CERTS" ]; then
  mkdir -p "$root/etc/ssl/certs"
  cp "$NODE_EXTRA_CA_CERTS" "$root/etc/ssl/certs/machine-extra-ca.crt"
fi

rm -rf "$root/src"
git clone -q "$here" "$root/src"

mounts=(proc sys dev dev/pts dev/shm)
cleanup() {
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "$root/${mounts[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf"

extra=""
[ -f "$root/etc/ssl/certs/machine-extra-ca.crt" ] && extra="NODE_EXTRA_CA_CERTS=/etc/ssl/certs/machine-extra-ca.crt"
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb $extra \
  /bin/bash -c "cd /src && $command"
