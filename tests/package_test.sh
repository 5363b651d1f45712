#!/usr/bin/env bash
# The Debian package: built from the build folder, its contents, its
# desktop entry, lintian, and the packaged program started from a scratch
# root. Usage: package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" > "$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/out/*.deb)"
echo "built $(basename "$deb")"

contents="$(dpkg-deb --contents "$deb")"
for f in ./usr/bin/QuelvarinoBasic ./usr/bin/Ostrima ./usr/bin/QuelvarinoImport \
         ./usr/share/applications/br.com.quelvarino.QuelvarinoBasic.desktop \
         ./usr/share/icons/hicolor/scalable/apps/br.com.quelvarino.QuelvarinoBasic.svg \
         ./etc/quelvarino/noticias.conf ./usr/share/doc/quelvarino-basic/copyright; do
  grep -qF " $f" <<<"$contents" || fail "$f not in the package"
done
grep -F "./etc/quelvarino/noticias.conf" <<<"$contents" | grep -q '^-rw-------' \
  || fail "the news installation file is readable by others"
dpkg-deb --info "$deb" conffiles | grep -qx /etc/quelvarino/noticias.conf \
  || fail "the news installation file is not a configuration file"
depends="$(dpkg-deb --field "$deb" Depends)"
for d in libqt6widgets6 libqt6sql6-sqlite qt6-translations-l10n libcurl4 libsqlite3-0 pxlib1 libqrencode4; do
  grep -q "$d" <<<"$depends" || fail "no dependency on $d: $depends"
done

dpkg -x "$deb" "$work/root"
entry="$work/root/usr/share/applications/br.com.quelvarino.QuelvarinoBasic.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate"
grep -qx 'Name=Quelvarino Basic - Sistema para Controle de Empresa de Motoboy' "$entry" \
  || fail "desktop entry name"
grep -qx 'Categories=Office;' "$entry" || fail "desktop entry category"
grep -qx 'Icon=br.com.quelvarino.QuelvarinoBasic' "$entry" || fail "desktop entry icon"

lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"

home="$work/home"
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
said="$(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/runtime" \
  QT_QPA_PLATFORM=offscreen LC_ALL=pt_BR.UTF-8 \
  timeout 60 "$work/root/usr/bin/QuelvarinoBasic" --verificar-inicio 2>/dev/null)" \
  || fail "the packaged program did not start"
[ "$said" = "Janela principal aberta." ] || fail "the packaged program said: $said"
[ -f "$home/Quelvarino/quelvarino.db" ] || fail "no database made at the first start"
echo "package ok"
