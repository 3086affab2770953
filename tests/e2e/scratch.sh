# Sourced by the end-to-end scripts, with install and scratch set: a fresh
# scratch folder holding a copy of the install folder (scratch/install) and
# drives of its own; scratch is made absolute.
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r "$install" "$scratch/install"
export CADHOST_DRIVE_ROOT="$scratch/drives"

# fail MESSAGE: the message, named after the script, and the script ends.
fail() { echo "$(basename "$0" .sh | tr _ ' '): $*"; exit 1; }
# win PATH: an absolute path as the modules see it, on drive Z:.
win() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
