#!/usr/bin/env bash
# A fuzzed program writes only inside the fuzzer's folders. Each fuzz target of the fuzz build (the
# folder given first; the targets named after it, both by default) runs programs that open a file for writing outside them (by its full name, by a
# name that climbs out of the working folder, through a link in it) and one that writes inside:
# only the one inside may leave a file, and the file outside keeps its bytes. Exits 77 when the
# kernel cannot confine the targets' writes, so that they refuse to run.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(macro_fuzz pad_fuzz)
work=$(mktemp -d)
outside=$(mktemp -d)
inputs=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$work" "$outside" "$inputs" "$log"' EXIT

printf 'kept\n' > "$outside/existing.txt"
ln -s "$outside/existing.txt" "$work/link.txt"
attempts=(
  "$outside/new.txt|w"
  "$outside/existing.txt|w"
  "$outside/existing.txt|a"
  "../$(basename "$outside")/climbed.txt|w"
  "link.txt|w"
  "inside.txt|w"
)

status=0
for target in "${targets[@]}"; do
  rm -f "$inputs"/*
  n=0
  for attempt in "${attempts[@]}"; do
    # One line, a program line or a pad line alike.
    program=$(printf 'h = open("%s", "%s"); write(h, "x"); close(h)' "${attempt%|*}" "${attempt#*|}")
    n=$((n + 1))
    # macro_fuzz takes a program file as it stands; pad_fuzz a pad file behind the byte that
    # picks the units.
    if [ "$target" = macro_fuzz ]; then
      printf '%s\n' "$program" > "$inputs/$n"
    else
      printf '\x80_Data\r\n%s\r\n' "$program" > "$inputs/$n"
    fi
  done
  ran=0
  (cd "$work" && QT_QPA_PLATFORM=offscreen FUZZ_WRITABLE="$build/" ASAN_OPTIONS=detect_leaks=0 \
    "$build/fuzz/$target" "$inputs"/*) > "$log" 2>&1 || ran=$?
  if [ "$ran" = 77 ]; then
    # A kernel without Landlock: the target refuses to run at all, which writes nothing.
    cat "$log"; exit 77
  fi
  if [ "$ran" != 0 ]; then
    echo "$target failed:"; cat "$log"; exit 1
  fi
  left=$(cd "$outside" && ls -A)
  if [ "$left" != existing.txt ] || [ "$(cat "$outside/existing.txt")" != kept ]; then
    echo "$target wrote outside its folders: $(echo $left), existing.txt holds '$(cat "$outside/existing.txt")'"
    status=1
  fi
  if [ "$(cat "$work/inside.txt" 2>/dev/null)" != x ]; then
    echo "$target did not write inside its folder: the programs did not run as they should"
    cat "$log"
    status=1
  fi
  rm -f "$work/inside.txt" "$outside"/new.txt "$outside"/climbed.txt
  printf 'kept\n' > "$outside/existing.txt"
done
[ "$status" = 0 ] && echo "fuzz targets write only in their folders"
exit "$status"
