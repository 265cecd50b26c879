#!/usr/bin/env bash
# korvane-screenshots under LOCALE, where the numbers it types must be in the
# locale's own notation for the calculator to take them (German reads 1.5 as
# badly grouped digits and wants 1,5). The locale is compiled here from the
# `locales` package's sources into a folder of its own, so that the test
# needs neither root nor a locale the machine happens to have.
#   screenshots-in-locale.sh KORVANE_SCREENSHOTS WORK_DIR LOCALE
set -euo pipefail
tool=$1 work=$2 locale=$3
rm -rf "$work"
mkdir -p "$work/locales"
localedef -i "$locale" -f UTF-8 "$work/locales/$locale.UTF-8"
LOCPATH=$work/locales LC_ALL=$locale.UTF-8 "$tool" "$work/pictures"
