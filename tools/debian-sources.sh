#!/bin/sh
# Unpacks Debian's source packages of the given versions into DIR/sources, through a private apt
# state in DIR/apt made from the machine's own package sources: the machine's configuration stays
# as it is. The web and Windows builds build their libraries from these. A version the archive no
# longer holds (a security update replaced it) gives way to the archive's newest of the same
# upstream release; another upstream release is an error.
#   tools/debian-sources.sh DIR PACKAGE=VERSION...
set -eu
dir=$(realpath -m "$1")
shift
apt_state="$dir/apt"
mkdir -p "$apt_state/lists/partial" "$apt_state/sources.list.d" "$dir/sources"
: > "$apt_state/sources.list"
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list > "$apt_state/sources.list"
fi
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types:.*deb.*/Types: deb-src/' "$f" > "$apt_state/sources.list.d/$(basename "$f")"
done
for f in /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*\)/deb-src \1/p' "$f" > "$apt_state/sources.list.d/$(basename "$f")"
done
# Run as root, apt would hand the downloads to its own user, who may not write here.
apt_options() {
    echo -o Dir::Etc::SourceList="$apt_state/sources.list" -o Dir::Etc::SourceParts="$apt_state/sources.list.d" \
        -o Dir::State::Lists="$apt_state/lists" -o APT::Sandbox::User="$(id -un)"
}
# A third-party repository may have no source packages; what matters is that Debian's have.
apt-get -q $(apt_options) update >/dev/null || echo "(some package sources gave no source index; going on with the others)"
cd "$dir/sources"
for wanted in "$@"; do
    package=${wanted%%=*}
    version=${wanted#*=}
    upstream=${version#*:}
    upstream=${upstream%-*}
    # The version asked for, else the others of its release the index lists, newest first: a
    # mirror may not hold every one it lists.
    others=$(apt-cache $(apt_options) showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV |
             while read -r v; do u=${v#*:}; if [ "${u%-*}" = "$upstream" ] && [ "$v" != "$version" ]; then echo "$v"; fi; done)
    for candidate in "$version" $others; do
        if apt-get -q $(apt_options) source "$package=$candidate" >/dev/null 2>&1; then
            [ "$candidate" = "$version" ] || echo "($package $version is not in the archive; took $candidate)"
            break
        fi
    done
    if [ ! -d "$package-$upstream" ]; then
        echo "$package: no source of release $upstream could be fetched" >&2
        exit 1
    fi
done
