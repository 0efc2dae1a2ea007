#!/usr/bin/env bash
# Checks the Debian packages that build-packages.sh made (kelvaris-service, kelvaris,
# kelvaris-alarmsim): their contents and dependencies, that the service's programs link no display
# library (ldd), lintian (no errors),
# the systemd unit (systemd-analyze verify), the AppStream metadata (appstreamcli validate), the
# desktop file, every man page (rendered without warnings) and the bash completion. With a build
# folder as second argument it also checks that `cmake --install` of that folder puts every file
# under the GNUInstallDirs paths.
#   scripts/check-packages.sh [dir-of-debs] [build-dir]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
debs=${1:-"$root/build-packages/packages"}
build=${2:-}

failures=0
fail() {
  echo "check-packages: FAIL: $*" >&2
  failures=$((failures + 1))
}
ok() { echo "check-packages: ok: $*"; }

service_deb=$(ls "$debs"/kelvaris-service_*.deb 2>/dev/null | head -n1)
main_deb=$(ls "$debs"/kelvaris_*.deb 2>/dev/null | head -n1)
sim_deb=$(ls "$debs"/kelvaris-alarmsim_*.deb 2>/dev/null | head -n1)
if [[ -z "$service_deb" || -z "$main_deb" || -z "$sim_deb" ]]; then
  echo "check-packages: want kelvaris-service_*.deb, kelvaris_*.deb and kelvaris-alarmsim_*.deb in $debs" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 1. What each package holds.
expect_files() {
  local deb=$1
  shift
  local listing
  listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
  for file in "$@"; do
    if grep -qx "./$file" <<<"$listing"; then ok "$(basename "$deb") holds /$file"; else fail "$(basename "$deb") lacks /$file"; fi
  done
}
expect_files "$service_deb" usr/bin/kelvarisd usr/bin/kelvarisctl \
  usr/lib/systemd/user/kelvaris.service usr/lib/systemd/user/kelvaris.socket \
  usr/share/dbus-1/services/com.ondrevi.Kelvaris.service \
  usr/share/man/man1/kelvarisd.1.gz usr/share/man/man1/kelvarisctl.1.gz \
  usr/share/bash-completion/completions/kelvarisctl \
  usr/share/doc/kelvaris-service/copyright usr/share/doc/kelvaris-service/changelog.Debian.gz
expect_files "$main_deb" usr/bin/kelvaris \
  usr/share/applications/com.ondrevi.Kelvaris.desktop \
  usr/share/icons/hicolor/scalable/apps/kelvaris.svg \
  usr/share/metainfo/com.ondrevi.Kelvaris.metainfo.xml \
  usr/share/man/man1/kelvaris.1.gz \
  usr/share/doc/kelvaris/copyright usr/share/doc/kelvaris/changelog.Debian.gz
expect_files "$sim_deb" usr/bin/kelvaris-alarmsim usr/share/man/man1/kelvaris-alarmsim.1.gz \
  usr/share/doc/kelvaris-alarmsim/copyright usr/share/doc/kelvaris-alarmsim/changelog.Debian.gz

# The DDE values and automation need a session bus; the desktop program needs the service's files.
if dpkg-deb -f "$service_deb" Depends | grep -q 'dbus-user-session | default-dbus-session-bus'; then
  ok "$(basename "$service_deb") depends on a session bus"
else
  fail "$(basename "$service_deb") does not depend on a session bus: $(dpkg-deb -f "$service_deb" Depends)"
fi
if dpkg-deb -f "$main_deb" Depends | grep -q 'kelvaris-service (= '; then
  ok "$(basename "$main_deb") depends on kelvaris-service of its version"
else
  fail "$(basename "$main_deb") does not depend on kelvaris-service: $(dpkg-deb -f "$main_deb" Depends)"
fi
# A site without a desktop installs no display library: the service package depends on none, and
# its programs link none.
service_depends=$(dpkg-deb -f "$service_deb" Depends)
if grep -Eq 'libqt6(gui|widgets)|libgl|libx11|libxcb|mesa|libllvm' <<<"$service_depends"; then
  fail "$(basename "$service_deb") depends on a display library: $service_depends"
else
  ok "$(basename "$service_deb") depends on no display library"
fi

# 2. lintian: warnings are shown, errors fail.
if lintian --fail-on error "$service_deb" "$main_deb" "$sim_deb" 2>&1 | grep -v 'running with root privileges'; then :; fi
if lintian --fail-on error "$service_deb" "$main_deb" "$sim_deb" >/dev/null 2>&1; then ok "lintian reports no errors"; else fail "lintian reports errors"; fi

# The files as installed.
tree="$work/root"
dpkg-deb -x "$service_deb" "$tree"
dpkg-deb -x "$main_deb" "$tree"
dpkg-deb -x "$sim_deb" "$tree"
for program in kelvarisd kelvarisctl; do
  libs=$(ldd "$tree/usr/bin/$program" | awk '{ print $1 }')
  if grep -Eq 'libQt6(Gui|Widgets)|libGL|libEGL|libX11|libxcb' <<<"$libs"; then
    fail "$program links a display library: $(grep -E 'libQt6(Gui|Widgets)|libGL|libEGL|libX11|libxcb' <<<"$libs" | paste -sd ' ')"
  else
    ok "$program links no Qt GUI, Widgets, GL or X library (ldd)"
  fi
done

# 3. The unit: verified with its program and man page taken from the package.
unit="$tree/usr/lib/systemd/user/kelvaris.service"
grep -qx 'ExecStart=/usr/bin/kelvarisd' "$unit" || fail "the unit does not start /usr/bin/kelvarisd"
mkdir -p "$work/unit"
sed "s#^ExecStart=/#ExecStart=$tree/#" "$unit" >"$work/unit/kelvaris.service"
cp "$tree/usr/lib/systemd/user/kelvaris.socket" "$work/unit/kelvaris.socket"
if out=$(MANPATH="$tree/usr/share/man" systemd-analyze verify "$work/unit/kelvaris.socket" "$work/unit/kelvaris.service" 2>&1) && [[ -z "$out" ]]; then
  ok "systemd-analyze verify kelvaris.socket kelvaris.service"
else
  fail "systemd-analyze verify kelvaris.socket kelvaris.service: $out"
fi
grep -qx 'ListenSequentialPacket=@OndreviKelvaris' "$work/unit/kelvaris.socket" || fail "the socket unit does not bind @OndreviKelvaris"

# The D-Bus service file names the bus name and starts the installed program.
service="$tree/usr/share/dbus-1/services/com.ondrevi.Kelvaris.service"
if grep -qx 'Name=com.ondrevi.Kelvaris' "$service" && grep -qx 'Exec=/usr/bin/kelvarisd -Embedding' "$service" \
  && grep -qx 'SystemdService=kelvaris.service' "$service"; then
  ok "D-Bus service file"
else
  fail "D-Bus service file: $(cat "$service")"
fi

# 4. AppStream metadata and the desktop file.
if appstreamcli validate --no-net "$tree/usr/share/metainfo/com.ondrevi.Kelvaris.metainfo.xml"; then
  ok "appstreamcli validate"
else
  fail "appstreamcli validate"
fi
if desktop-file-validate "$tree/usr/share/applications/com.ondrevi.Kelvaris.desktop"; then
  ok "desktop-file-validate"
else
  fail "desktop-file-validate"
fi

# 5. Man pages: rendered without a warning.
for page in "$tree"/usr/share/man/man1/*.1.gz; do
  name=$(basename "$page" .1.gz)
  warnings=$( { MANWIDTH=80 man -l --warnings "$page" >/dev/null; } 2>&1)
  if [[ -z "$warnings" ]] && zcat "$page" | groff -ww -man -z 2>&1 | { ! grep .; }; then
    ok "man page $name(1)"
  else
    fail "man page $name(1): $warnings"
  fi
done

# 6. Bash completion: what it offers for a few command lines.
completion="$tree/usr/share/bash-completion/completions/kelvarisctl"
if [[ -f /usr/share/bash-completion/bash_completion ]]; then
  complete_line() {
    bash -c '
      source /usr/share/bash-completion/bash_completion
      source "$1"; shift
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
      COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      _kelvarisctl kelvarisctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
      printf "%s\n" "${COMPREPLY[@]}" | grep -v "^--help$" | sort | tr "\n" " "' _ "$completion" "$@"
  }
  expect_completion() {
    local want=$1
    shift
    local got
    got=$(complete_line "$@")
    if [[ "$got" == "$want" ]]; then ok "completion of '$*'"; else fail "completion of '$*': got '$got', want '$want'"; fi
  }
  expect_completion "dde dispatch do " kelvarisctl d
  expect_completion "generate list " kelvarisctl holidays ""
  expect_completion "exec get watch " kelvarisctl dde ""
  expect_completion "--config " kelvarisctl holidays generate 2027 2028 --
  expect_completion "Barring Dispatching Shift System " kelvarisctl dde get ""
  expect_completion "Remain Remain2 " kelvarisctl dde watch Shift Rem
  expect_completion "Current " kelvarisctl dde get Dispatching C
  expect_completion "groups receivers " kelvarisctl export --all ""
  expect_completion "--week --weeks " kelvarisctl export --target A --w
  expect_completion "--config " kelvarisctl eval --c
  expect_completion "--from " kelvarisctl ical --target A --f
  expect_completion "groups receivers " kelvarisctl ical --all ""
  expect_completion "--as-of --at --config --json " kelvarisctl oncall --
  expect_completion "--verify " kelvarisctl history --v
  expect_completion "--answers " kelvarisctl history --a
  expect_completion "--as-of --at " kelvarisctl eval --a
  expect_completion "--config --days --from --json " kelvarisctl notices --
  expect_completion "--unicode " kelvarisctl dde get Shift Name --u
  expect_completion '\[setup\(TB\)\] \[setup\(TH\)\] \[setup\(TP\)\] \[setup\(TS\)\] ' kelvarisctl do "[se"
  expect_completion '\[activate\(\)\] ' kelvarisctl dde exec ""
else
  bash -n "$completion" && ok "bash completion parses (bash-completion not installed)" || fail "bash completion"
fi

# 7. Install layout: every file of `cmake --install` under a GNUInstallDirs path.
if [[ -n "$build" ]]; then
  stage="$work/stage"
  DESTDIR="$stage" cmake --install "$build" --component service >/dev/null
  DESTDIR="$stage" cmake --install "$build" --component kelvaris >/dev/null
  DESTDIR="$stage" cmake --install "$build" --component alarmsim >/dev/null
  cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
  prefix=$(cache CMAKE_INSTALL_PREFIX)
  # GNUInstallDirs leaves DATADIR and MANDIR empty in the cache when they follow DATAROOTDIR.
  bindir=$(cache CMAKE_INSTALL_BINDIR)
  datadir=$(cache CMAKE_INSTALL_DATADIR)
  datadir=${datadir:-$(cache CMAKE_INSTALL_DATAROOTDIR)}
  mandir=$(cache CMAKE_INSTALL_MANDIR)
  mandir=${mandir:-$(cache CMAKE_INSTALL_DATAROOTDIR)/man}
  unitdir=$(cache KELVARIS_SYSTEMD_USER_UNIT_DIR)
  allowed=("$prefix/$bindir/" "$prefix/$datadir/" "$prefix/$mandir/" "$prefix/$unitdir/")
  stray=0
  while read -r file; do
    file=${file#"$stage"}
    under=0
    for dir in "${allowed[@]}"; do [[ "$file" == "$dir"* ]] && under=1; done
    ((under)) || { fail "installed outside the install dirs: $file"; stray=1; }
  done < <(find "$stage" -type f)
  for file in "$bindir/kelvaris" "$bindir/kelvaris-alarmsim" "$mandir/man1/kelvarisctl.1.gz" \
    "$unitdir/kelvaris.service" "$datadir/metainfo/com.ondrevi.Kelvaris.metainfo.xml"; do
    [[ -f "$stage$prefix/$file" ]] || { fail "cmake --install did not write $prefix/$file"; stray=1; }
  done
  ((stray)) || ok "cmake --install puts every file under the GNUInstallDirs paths ($(find "$stage" -type f | wc -l) files)"
fi

if ((failures)); then
  echo "check-packages: $failures check(s) failed" >&2
  exit 1
fi
echo "check-packages: all checks passed"
