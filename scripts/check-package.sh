#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: it holds what a
# user needs and nothing of the build, declares what it needs, and lintian
# finds no error in it.
#   scripts/check-package.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

rm -f "$build"/lumatrim_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/lumatrim_*_amd64.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "package: cpack wrote no lumatrim_*_amd64.deb"; exit 1; }
echo "package: $deb ($(du -k "$deb" | cut -f1) KB)"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
expected=(
  ./usr/bin/lumatrim
  ./usr/bin/lumatrim-cli
  ./usr/share/applications/lumatrim.desktop
  ./usr/share/icons/hicolor/scalable/apps/lumatrim.svg
  ./usr/share/metainfo/cz.lumatrim.lumatrim.metainfo.xml
  ./usr/share/man/man1/lumatrim.1.gz
  ./usr/share/man/man1/lumatrim-cli.1.gz
  ./usr/share/doc/lumatrim/copyright
  ./usr/share/doc/lumatrim/changelog.gz
)
status=0
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$contents" || { echo "package: $file is missing"; status=1; }
done
if grep -v -e '/$' -e '^\./usr/bin/' -e '^\./usr/share/' <<<"$contents"; then
  echo "package: the files above lie outside /usr/bin and /usr/share"
  status=1
fi

depends=$(dpkg-deb --field "$deb" Depends)
for needed in libc6 libqt6widgets6 libjpeg62-turbo qt6-translations-l10n fonts-dejavu-core; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || { echo "package: Depends lacks $needed: $depends"; status=1; }
done

if command -v lintian >/dev/null; then
  # Errors fail the check; warnings are shown.
  lintian --fail-on error --tag-display-limit 0 "$deb" || status=1
else
  echo "package: lintian is not installed; skipping its check"
fi
[ $status -eq 0 ] && echo "package: checked"
exit $status
