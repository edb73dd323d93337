#!/usr/bin/env bash
# Checks an installed editor under a root folder (/ for a real installation): every file a
# desktop needs is there, and the desktop entry, the metainfo, the file types and the manual
# page pass their validators without a single remark. Given a sample archive with a 256x256
# portrait, the thumbnailer's command is run on it as a file manager runs it.
#   scripts/check-desktop-files.sh <root> <prefix> <application id> [sample archive]
set -euo pipefail
root=${1:?root folder}
prefix=${2:?installation prefix, e.g. /usr}
id=${3:?application id}
sample=${4:-}
share="$root$prefix/share"

failed=0
fail() { echo "FAILED: $*"; failed=1; }

programs=(courtside-portraits-editor courtside-portraits-cli)
expected=("$root$prefix/bin/courtside-portraits-editor"
          "$root$prefix/bin/courtside-portraits-cli"
          "$share/applications/$id.desktop"
          "$share/metainfo/$id.metainfo.xml"
          "$share/mime/packages/$id.xml"
          "$share/thumbnailers/$id.thumbnailer"
          "$share/icons/hicolor/scalable/apps/$id.svg"
          "$share/man/man1/courtside-portraits-editor.1.gz"
          "$share/man/man1/courtside-portraits-cli.1.gz"
          "$share/doc/courtside-portraits-editor/copyright")
for size in 16 32 48 64 128 256; do
  expected+=("$share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do
  [ -s "$file" ] || fail "missing $file"
done
[ $failed -eq 0 ] || exit 1

# Each validator must say nothing beyond its success line.
remarks=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || true
[ -z "$remarks" ] || fail "desktop-file-validate: $remarks"

# Errors, warnings and infos are lines of their own; pedantic notes are not asked for.
remarks=$(appstreamcli validate --no-net --no-color "$share/metainfo/$id.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $remarks"
! grep -q '^[EWI]:' <<<"$remarks" || fail "appstreamcli validate: $remarks"

# update-mime-database reads the package as the desktop will, and complains about any fault.
mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir -p "$mime/mime/packages"
cp "$share/mime/packages/$id.xml" "$mime/mime/packages/"
remarks=$(XDG_DATA_DIRS="$mime" update-mime-database "$mime/mime" 2>&1) || fail "update-mime-database failed"
[ -z "$remarks" ] || fail "update-mime-database: $remarks"

# The thumbnailer names the program and the file types the package defines, and its command,
# run as a file manager runs it, writes a PNG of the size asked for.
thumbnailer="$share/thumbnailers/$id.thumbnailer"
[ "$(head -n 1 "$thumbnailer")" = "[Thumbnailer Entry]" ] || fail "$thumbnailer: no [Thumbnailer Entry]"
key() { sed -n "s/^$1=//p" "$thumbnailer"; }
[ "$(key TryExec)" = courtside-portraits-cli ] || fail "$thumbnailer: TryExec is not courtside-portraits-cli"
IFS=';' read -ra types <<<"$(key MimeType)"
[ ${#types[@]} -gt 0 ] || fail "$thumbnailer: no MimeType"
for type in "${types[@]}"; do
  grep -q "<mime-type type=\"$type\">" "$share/mime/packages/$id.xml" ||
    fail "$thumbnailer: $type is no file type of the package"
done
read -ra command <<<"$(key Exec)"
[ "${command[0]:-}" = courtside-portraits-cli ] || fail "$thumbnailer: Exec does not run courtside-portraits-cli"
if [ -n "$sample" ]; then
  png=$(mktemp -u --suffix=.png)
  for i in "${!command[@]}"; do
    case ${command[$i]} in %s) command[$i]=64 ;; %i) command[$i]=$sample ;; %o) command[$i]=$png ;; esac
  done
  PATH="$root$prefix/bin:$PATH" "${command[@]}" >/dev/null || fail "thumbnailer: ${command[*]} failed"
  # The PNG header's width and height, big-endian, at bytes 16 to 23.
  size=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | awk '{ print $3*256+$4 "x" $7*256+$8 }')
  [ "$size" = 64x64 ] || fail "thumbnailer: a ${size:-missing} picture where 64x64 was asked for"
  rm -f "$png"
fi

for program in "${programs[@]}"; do
  remarks=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$program.1.gz" 2>&1 >/dev/null) ||
    fail "man $program failed"
  [ -z "$remarks" ] || fail "man $program: $remarks"
done

# The command line loads its picture module from where it was installed: with the module the
# export below fails on the missing archive, without it on the module.
remarks=$("$root$prefix/bin/courtside-portraits-cli" export "$root/no-such-archive.big" \
          "$root/no-such-picture.png" 2>&1) && fail "courtside-portraits-cli exported a missing archive"
grep -q "no-such-archive.big: No such file or directory" <<<"$remarks" ||
  fail "courtside-portraits-cli without its picture module: $remarks"

[ $failed -eq 0 ] && echo "desktop files under ${root%/}$prefix: all present, all validators clean"
exit $failed
