#!/bin/sh
# Packs an installed tree into a self-extracting installer.
#
#   cmake --install build/release --prefix /tmp/stage
#   scripts/make_installer.sh /tmp/stage VellixInstall.sh 9.0.1
#   build/release/bin/vellix-sign-installer sign KEY.pem VellixInstall.sh VellixInstall.sh.sig
#
# The installer takes --silent (no question) and --prefix=DIR (default ~/.local). It
# unpacks beside the prefix and renames each file into place, so a running Vellix keeps
# its old executable until it ends, and it records what it installed in
# share/vellix/installed-version.
set -eu

if [ $# -ne 3 ] || [ ! -d "$1" ]; then
    echo "usage: $0 INSTALLED-TREE OUTPUT VERSION" >&2
    exit 2
fi
tree=$1
output=$2
version=$3

{
    cat <<'HEAD'
#!/bin/sh
# Vellix installer. Usage: sh VellixInstall.sh [--silent] [--prefix=DIR]
set -eu
prefix="${HOME:-/tmp}/.local"
silent=no
for arg in "$@"; do
    case $arg in
        --silent) silent=yes ;;
        --prefix=*) prefix=${arg#--prefix=} ;;
        *) echo "usage: $0 [--silent] [--prefix=DIR]" >&2; exit 2 ;;
    esac
done
HEAD
    printf 'version=%s\n' "$version"
    cat <<'BODY'
if [ "$silent" = no ]; then
    printf 'Install Vellix %s into %s? [y/N] ' "$version" "$prefix"
    read -r answer || answer=
    case $answer in y|Y|yes) ;; *) echo "Nothing installed."; exit 1 ;; esac
fi
mkdir -p "$prefix"
stage=$(mktemp -d "$prefix/.vellix-install.XXXXXX")
trap 'rm -rf "$stage"' EXIT
line=$(awk '/^__VELLIX_PAYLOAD__$/ { print NR + 1; exit }' "$0")
tail -n +"$line" "$0" | tar -xzf - -C "$stage"
(cd "$stage" && find . -type d) | while IFS= read -r dir; do
    mkdir -p "$prefix/$dir"
done
(cd "$stage" && find . ! -type d) | while IFS= read -r file; do
    mv -f "$stage/$file" "$prefix/$file"
done
mkdir -p "$prefix/share/vellix"
printf '%s\n' "$version" > "$prefix/share/vellix/installed-version"
[ "$silent" = yes ] || echo "Vellix $version is installed in $prefix."
exit 0
__VELLIX_PAYLOAD__
BODY
    tar -czf - -C "$tree" .
} > "$output.part"
chmod 0755 "$output.part"
mv -f "$output.part" "$output"
