#!/bin/sh
# nebu clones prints each clone group (same name without case, same size and hour) with its
# paths in list order, from a scanned folder and from constellation data alike.
# usage: nebu_clones.sh PATH_TO_NEBU
nebu="$1"
export TZ=UTC
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
u="$dir/u"
mkdir -p "$u/x" "$u/y" "$u/z/w" || exit 1
printf 'abc' > "$u/x/a.txt"
printf 'abc' > "$u/y/A.TXT"
printf 'abc' > "$u/z/a.txt"
printf 'abc' > "$u/z/w/a.txt"
printf 'abcd' > "$u/y/a.txt"
printf '1' > "$u/x/one"
printf '1' > "$u/z/w/one"
touch -d '2024-05-01 10:05:00' "$u/x/a.txt" "$u/y/a.txt" "$u/x/one"
touch -d '2024-05-01 10:40:00' "$u/y/A.TXT"
touch -d '2024-05-01 11:00:00' "$u/z/a.txt" "$u/z/w/a.txt"
touch -d '2024-05-01 10:59:59' "$u/z/w/one"
cat > "$dir/expected" <<END
a.txt	3	2024/05/01 10:05:00	2
	$u/x/a.txt
	$u/y/A.TXT
one	1	2024/05/01 10:05:00	2
	$u/x/one
	$u/z/w/one
a.txt	3	2024/05/01 11:00:00	2
	$u/z/a.txt
	$u/z/w/a.txt
END
"$nebu" clones "$u" > "$dir/scanned" || { echo "clones of a folder failed"; exit 1; }
diff "$dir/expected" "$dir/scanned" || { echo "clones of a folder differ"; exit 1; }
"$nebu" scan "$u" -o "$dir/u.nebu" > /dev/null || exit 1
"$nebu" clones "$dir/u.nebu" > "$dir/read" || { echo "clones of constellation data failed"; exit 1; }
diff "$dir/expected" "$dir/read" || { echo "clones of constellation data differ"; exit 1; }
# No clones: nothing printed, success.
"$nebu" clones "$u/x" > "$dir/none" && [ ! -s "$dir/none" ] || { echo "clones where there are none"; exit 1; }
exit 0
