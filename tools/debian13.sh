#!/usr/bin/env bash
# Runs a command in a Debian 13 root of the project's own, on a clean copy of this tree, so that a
# Debian 12 machine tries both releases. The root is made once with debootstrap under
# build/debian13 and reused; the copy lies at /orvanta inside it, and its build folders stay
# between runs. Runs as root (chroot and mounts need it).
#   bash tools/debian13.sh                 the README's test command in the root
#   bash tools/debian13.sh COMMAND ...     any other command, run in the copy's folder
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(pwd)
root=$tree/build/debian13
[ $# -eq 0 ] && set -- bash tools/test.sh

if [ "$(id -u)" -ne 0 ]; then
  echo "tools/debian13.sh makes and enters a chroot: run it as root." >&2
  exit 1
fi

if [ ! -x "$root/usr/bin/apt-get" ] || [ ! -e "$root/.complete" ]; then
  command -v debootstrap >/dev/null || {
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y debootstrap
  }
  rm -rf --one-file-system "$root"
  mkdir -p "$root"
  debootstrap --variant=minbase trixie "$root" http://deb.debian.org/debian
  cat >"$root/etc/apt/sources.list" <<'EOF'
deb http://deb.debian.org/debian trixie main
deb http://deb.debian.org/debian trixie-updates main
deb http://deb.debian.org/debian-security trixie-security main
EOF
  touch "$root/.complete"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages installed in the root never start their services there (the test broker's package
# would start a broker of its own): the usual policy for a chroot.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

# The system's folders, and a /tmp of its own, for as long as the command runs.
mounted=()
cleanup() {
  local index
  for ((index = ${#mounted[@]} - 1; index >= 0; index--)); do
    umount -R "${mounted[index]}" 2>/dev/null || umount -lR "${mounted[index]}"
  done
}
trap cleanup EXIT
for folder in proc sys dev; do
  mountpoint -q "$root/$folder" && continue
  mount --rbind "/$folder" "$root/$folder"
  mount --make-rslave "$root/$folder"
  mounted+=("$root/$folder")
done
if ! mountpoint -q "$root/tmp"; then
  mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
  mounted+=("$root/tmp")
fi

# A clean copy of the tree's files, build folders kept so that a second run builds only what
# changed.
copy=$root/orvanta
mkdir -p "$copy"
find "$copy" -mindepth 1 -maxdepth 1 ! -name 'build*' -exec rm -rf {} +
git ls-files -z --cached --others --exclude-standard | tar --null -T - -c | tar -x -C "$copy"

quoted=$(printf '%q ' "$@")
# Only what the root's own programs need of this machine's environment.
env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" \
  chroot "$root" bash -c "cd /orvanta && $quoted"
