#!/bin/sh
# The big folders of the search tests, made from the Linux side with hard
# links (through Wine the same would take minutes):
#   clips/  50,000 names of one one-second red clip (clip00000.avi ...)
#   notes/  50,000 names of one empty text file: searched, nothing found
# A file system allows about 65,000 links to one file, so each folder has a
# source of its own. Made once; "complete" marks a finished set.
# usage: make-search-folders.sh FOLDER CLIP
set -eu
root=$1
clip=$2
[ -f "$root/complete" ] && exit 0
mkdir -p "$root/clips" "$root/notes"
cp "$clip" "$root/clip-source.avi"
: > "$root/note-source.txt"
perl -e '
  my ($root) = @ARGV;
  for my $i (0 .. 49999) {
    my $clip = sprintf("%s/clips/clip%05d.avi", $root, $i);
    my $note = sprintf("%s/notes/note%05d.txt", $root, $i);
    -e $clip or link("$root/clip-source.avi", $clip) or die "$clip: $!\n";
    -e $note or link("$root/note-source.txt", $note) or die "$note: $!\n";
  }' "$root"
touch "$root/complete"
