#!/bin/sh
# Writes the manual page of one of our programs on standard output, made from its --help (and,
# for kvx50-cli, the --help of every verb it lists), so that the page says what the program
# says of itself.
#
#   mkman.sh PROGRAM VERSION [DESCRIPTION]
#
# DESCRIPTION stands in the NAME line when the first line of --help is not "NAME - what".
set -eu

program=$1
version=$2
description=${3:-}
name=$(basename "$program")

# The window program needs a display platform even to print its usage.
help=$(QT_QPA_PLATFORM=offscreen "$program" --help 2>/dev/null) || {
  echo "mkman.sh: $program --help failed" >&2
  exit 1
}

first=$(printf '%s\n' "$help" | head -n 1)
case "$first" in
  "$name - "*)
    [ -n "$description" ] || description=${first#"$name - "}
    help=$(printf '%s\n' "$help" | tail -n +2)
    ;;
esac
[ -n "$description" ] || description="part of kvx50"

# Text for roff: backslashes doubled as \e, a leading dot or quote made harmless.
roff() {
  sed -e 's/\\/\\e/g' -e 's/^\([.'"'"']\)/\\\&\1/'
}

upper=$(printf '%s' "$name" | tr '[:lower:]' '[:upper:]')
printf '.TH %s 1 "" "kvx50 %s" "User Commands"\n' "$upper" "$version"
printf '.SH NAME\n%s \\- %s\n' "$name" "$(printf '%s' "$description" | roff)"
printf '.SH DESCRIPTION\n.nf\n'
printf '%s\n' "$help" | sed -e '/./,$!d' | roff
printf '.fi\n'

if [ "$name" = kvx50-cli ]; then
  verbs=$(printf '%s\n' "$help" | sed -n '/^Verbs:/,/^$/p' | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p')
  printf '.SH VERBS\n'
  for verb in $verbs; do
    printf '.SS %s\n.nf\n' "$verb"
    "$program" "$verb" --help 2>/dev/null | roff
    printf '.fi\n'
  done
fi

cat <<'PAGE'
.SH FILES
.TP
.I ~/.local/share/kvx50
The program folder of an installed copy ($XDG_DATA_HOME/kvx50 when that is set), made at the
first start from the shipped defaults: language/ (language files and mysetup.ini), Init/
(default data files), Setting.ini. --home DIR or KVX50_HOME choose another folder.
.TP
.I backups/
In the program folder: the image and the data of every read from a radio, and of every write
before it starts, named by date, time and model; the newest 50 are kept.
.SH SEE ALSO
.BR kvx50 (1),
.BR kvx50-cli (1),
.BR kvx50-radiosim (1)
PAGE
