#!/usr/bin/env bash
# check-package.sh CMAKE CPACK BUILD_DIR VERSION: makes the Debian package from the
# programs built in BUILD_DIR, unpacks it into a temporary root and checks
# what a user gets. Exit status 77 (a skip) when dpkg-deb or a validator is
# missing.
set -euo pipefail
cmake=$1 cpack=$2 build=$3 version=$4

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Up to date after a full build; a build stopped early may lack the icons.
if ! "$cmake" --build "$build" --target tolmarik_package_contents >"$tmp/build.log" 2>&1; then
  cat "$tmp/build.log"
  echo "FAIL: the package's contents do not build"
  exit 1
fi
if ! (cd "$build" && "$cpack" -G DEB -B "$tmp/out") >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FAIL: cpack could not make the package"
  exit 1
fi
debs=("$tmp"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single .deb made"; exit 1; }
deb=${debs[0]}
root=$tmp/root
dpkg-deb -x "$deb" "$root"

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tolmarikprog ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version is '$(field Version)', not $version"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
depends=$(field Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for needed in libqt6core6 libqt6widgets6 libqt6serialport6 libpugixml1v5 \
              qt6-qpa-plugins qt6-translations-l10n libqt6sql6 libqt6sql6-sqlite; do
  grep -qx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done

# Exactly the three programs, each answering --version without a display.
programs=$(cd "$root/usr/bin" && ls | sort | tr '\n' ' ')
[ "$programs" = "TolmarikProg tolmarik-cli tolmarik-sim " ] || fail "usr/bin holds: $programs"
for program in TolmarikProg tolmarik-cli tolmarik-sim; do
  answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version 2>&1) \
    || fail "$program --version failed: $answer"
  [ "$answer" = "$program $version" ] || fail "$program --version says '$answer'"
done

# The desktop entry, its icon in every size, the metainfo.
desktop=$(ls "$root"/usr/share/applications/*.desktop 2>/dev/null || true)
if [ -z "$desktop" ]; then
  fail "no desktop entry"
else
  desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
  grep -q '^Name\[ru\]=' "$desktop" || fail "desktop entry has no Russian name"
  grep -q '^Comment\[ru\]=' "$desktop" || fail "desktop entry has no Russian comment"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$root/usr/bin/$exec_name" ] || fail "desktop entry runs '$exec_name', not in the package"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  hicolor=$root/usr/share/icons/hicolor
  [ -s "$hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
  for size in 16 22 24 32 48 64 128 256; do
    png=$hicolor/${size}x${size}/apps/$icon.png
    file -b "$png" 2>/dev/null | grep -q "PNG image data, $size x $size," \
      || fail "no ${size}x${size} PNG icon $icon.png"
  done
  # Each file type the entry opens is declared in the package, and a file
  # given to the entry reaches the program.
  grep -q '^Exec=[^ ]* %f$' "$desktop" || fail "desktop entry passes no file (%f)"
  mime_types=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' ')
  for type in $mime_types; do
    grep -qs "<mime-type type=\"$type\">" "$root"/usr/share/mime/packages/*.xml \
      || fail "desktop entry opens $type, which the package does not declare"
  done
  grep -qs '<glob pattern="\*\.bcf"/>' "$root"/usr/share/mime/packages/*.xml \
    || fail "no MIME type for .bcf settings files"
  metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null || true)
  if [ -z "$metainfo" ]; then
    fail "no metainfo"
  else
    appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" 2>&1 \
      || { cat "$tmp/appstream.log"; fail "appstreamcli refuses $metainfo"; }
    grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" \
      || fail "metainfo does not launch $(basename "$desktop")"
  fi
fi

# Manual pages in both languages, and the command-line tool's exit statuses in
# its page.
for program in TolmarikProg tolmarik-cli tolmarik-sim; do
  page=$root/usr/share/man/man1/$program.1.gz
  gzip -t "$page" 2>/dev/null || { fail "no manual page $program.1.gz"; continue; }
  zcat "$page" | grep -q '^\.SH OPTIONS' || fail "$program.1 describes no options"
  page=$root/usr/share/man/ru/man1/$program.1.gz
  gzip -t "$page" 2>/dev/null || { fail "no Russian manual page $program.1.gz"; continue; }
  zcat "$page" | grep -q '^\.SH ПАРАМЕТРЫ' || fail "ru/$program.1 describes no options"
done
cli_page=$(zcat "$root/usr/share/man/man1/tolmarik-cli.1.gz" 2>/dev/null || true)
codes=$("$root/usr/bin/tolmarik-cli" --help | sed -n 's/^  \([0-9]\+\)  .*/\1/p')
[ -n "$codes" ] || fail "tolmarik-cli --help lists no exit statuses"
for code in $codes; do
  grep -qx "\.B $code" <<<"$cli_page" || fail "tolmarik-cli.1 does not list exit status $code"
done

# The licence.
copyright=$root/usr/share/doc/tolmarikprog/copyright
if [ -f "$copyright" ]; then
  head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "copyright is not in the machine-readable format"
  grep -q '^Copyright: 2026 Tolmarik$' "$copyright" || fail "copyright names no holder"
  grep -q '^ Permission is hereby granted' "$copyright" || fail "copyright lacks the licence text"
else
  fail "no /usr/share/doc/tolmarikprog/copyright"
fi

# The udev rule: the adapters' vendors get the seat's user access and are kept
# from ModemManager. udevadm checks it where it can (systemd 253 and later);
# otherwise every line must parse as udev's own KEY[{attr}] OP "value" pairs.
rule=$root/usr/lib/udev/rules.d/70-tolmarikprog.rules
if [ ! -f "$rule" ]; then
  fail "no udev rule $(basename "$rule")"
else
  if command -v udevadm >/dev/null && udevadm verify --help >/dev/null 2>&1; then
    udevadm verify "$rule" >"$tmp/udev.log" 2>&1 || { cat "$tmp/udev.log"; fail "udevadm verify refuses the rule"; }
  fi
  pair='[A-Z_]+(\{[A-Za-z0-9_]+\})?(==|!=|\+=|-=|:=|=)"[^"]*"'
  line_number=0
  while IFS= read -r line || [ -n "$line" ]; do
    line_number=$((line_number + 1))
    [[ "$line" =~ ^[[:space:]]*(#.*)?$ ]] && continue
    [[ "$line" =~ ^$pair(,[[:space:]]*$pair)*$ ]] || fail "udev rule line $line_number does not parse: $line"
  done <"$rule"
  for label in $(sed -n 's/.*GOTO="\([^"]*\)".*/\1/p' "$rule" | sort -u); do
    grep -q "^LABEL=\"$label\"" "$rule" || fail "udev rule jumps to a missing label $label"
  done
  for vendor in 0483 10c4 1a86; do
    grep -E "ATTRS\{idVendor\}==\"$vendor\"" "$rule" | grep -q 'ENV{ID_MM_DEVICE_IGNORE}="1"' \
      || fail "udev rule does not keep ModemManager from vendor $vendor"
    grep -E "ATTRS\{idVendor\}==\"$vendor\"" "$rule" | grep -q 'TAG+="uaccess"' \
      || fail "udev rule gives the user no access to vendor $vendor"
  done
fi
dpkg-deb -I "$deb" postinst >/dev/null 2>&1 || fail "no postinst to load the udev rule"

# Nothing beyond /usr.
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "package $(basename "$deb") checked"
