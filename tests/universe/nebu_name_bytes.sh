#!/bin/sh
# nebu keeps the bytes of a name that is not UTF-8: from its command line through a scan, the
# saved constellation data and the shown tree, and the scanned folder's own name too.
# usage: nebu_name_bytes.sh PATH_TO_NEBU
nebu="$1"
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
bad=$(printf 'bad\377')
mkdir "$dir/top$bad" && printf 'content' > "$dir/top$bad/$bad.txt" || exit 1
"$nebu" scan "$dir/top$bad" -o "$dir/out.nebu" > /dev/null || exit 1
LC_ALL=C grep -q "	$bad.txt	7	" "$dir/out.nebu" || { echo "name bytes not saved"; exit 1; }
"$nebu" show "$dir/out.nebu" | LC_ALL=C grep -q "$bad.txt" || { echo "name bytes not shown"; exit 1; }
