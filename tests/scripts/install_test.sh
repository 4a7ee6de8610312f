#!/usr/bin/env bash
# The installed program: its folders and its four manuals stand beside it, and installing again
# (what a rebuild with scripts/run does) replaces the program but leaves the settings, the pads and
# the Temp folder alone.
set -euo pipefail
build=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

cmake --install "$build" --prefix "$home" >/dev/null
[ -x "$home/PlumoCalculator" ] || { echo "no program in $home"; exit 1; }
for folder in Temp Macros Manuals; do
  [ -d "$home/$folder" ] || { echo "no $folder folder"; exit 1; }
done

# Every Help item opens a manual that is there, and is a PDF.
for manual in Tutorial_Manual_Metric_Basic Tutorial_Manual_Imperial_Basic Tutorial_Manual_General Reference_Manual; do
  [ "$(head -c 5 "$home/Manuals/$manual.pdf" 2>/dev/null)" = "%PDF-" ] || { echo "no manual $manual.pdf"; exit 1; }
done

printf '[Setup]\r\nProjectDir=.\\\r\n[MRU]\r\n1=%s/job.pad\r\n' "$home" > "$home/PlumoCalculator.INI"
printf '_Data\r\n1 + 1\r\n' > "$home/job.pad"
printf 'TOTAL = 0\n' > "$home/Temp/MacroRunLine.Tmp"
settings=$(md5sum < "$home/PlumoCalculator.INI")
pad=$(md5sum < "$home/job.pad")
program=$(md5sum < "$home/PlumoCalculator")
# An old program, to be replaced. Installing takes a file whose time is within a second of the
# new program's as up to date, whatever it holds: the old one is dated long before any build, so
# that the test does not depend on how recently the program was linked.
: > "$home/PlumoCalculator"
touch -d '2001-01-01 00:00:00' "$home/PlumoCalculator"

cmake --install "$build" --prefix "$home" >/dev/null
[ "$(md5sum < "$home/PlumoCalculator")" = "$program" ] || { echo "the program was not replaced"; exit 1; }
[ "$(md5sum < "$home/PlumoCalculator.INI")" = "$settings" ] || { echo "the settings changed"; exit 1; }
[ "$(md5sum < "$home/job.pad")" = "$pad" ] || { echo "the pad changed"; exit 1; }
[ -e "$home/Temp/MacroRunLine.Tmp" ] || { echo "Temp was emptied"; exit 1; }
echo "install layout ok"
