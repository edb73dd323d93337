#!/usr/bin/env bash
# Installs a built .deb as a user would, checks what the installation gives the desktop, and
# removes the package again:  scripts/check-package.sh <package.deb>
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${1:?package file}")
package=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
id=$(sed -n 's|.*/share/applications/\(.*\)\.desktop$|\1|p' <(dpkg-deb -c "$deb"))

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
remove() { "${sudo_cmd[@]}" apt-get purge -y -q "$package" >/dev/null; }
trap remove EXIT

echo "== installing $(basename "$deb")"
"${sudo_cmd[@]}" apt-get install -y -q "$deb" >/dev/null

shown=$(courtside-portraits-editor --version)
echo "courtside-portraits-editor --version: $shown"
grep -qw -- "$version" <<<"$shown" || { echo "FAILED: --version does not show $version"; exit 1; }

scripts/check-desktop-files.sh / /usr "$id"

# The package's triggers compiled the file types and the desktop's list of handlers.
[ -f /usr/share/mime/application/x-big-archive.xml ] ||
  { echo "FAILED: the MIME database does not know application/x-big-archive"; exit 1; }
grep -q "^application/x-big-archive=.*$id.desktop" /usr/share/applications/mimeinfo.cache ||
  { echo "FAILED: the desktop's handler list does not offer the editor for BIG archives"; exit 1; }

trap - EXIT
remove
! command -v courtside-portraits-editor >/dev/null ||
  { echo "FAILED: courtside-portraits-editor is still installed after removal"; exit 1; }
[ ! -f /usr/share/mime/application/x-big-archive.xml ] ||
  { echo "FAILED: the file types stayed after removal"; exit 1; }
echo "package $package $version: installed, ran, validated, removed"
