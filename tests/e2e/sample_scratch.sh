# Sourced by the end-to-end scripts, with bin, install and scratch set (and,
# if the script wants them, more options for sample-project in the array
# sample_options): a fresh scratch folder holding a copy of the install
# folder, drives of its own and the sample project; scratch is made absolute,
# data is the project's data folder.
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r "$install" "$scratch/install"
export CADHOST_DRIVE_ROOT="$scratch/drives"
"$bin/sample-project" --install "$scratch/install" ${sample_options[@]+"${sample_options[@]}"} \
  --workdir "$scratch/sample" > "$scratch/sample.log"
data="$scratch/sample/data"

# fail MESSAGE: the message, named after the script, and the script ends.
fail() { echo "$(basename "$0" .sh | tr _ ' '): $*"; exit 1; }
# win PATH: an absolute path as the modules see it, on drive Z:.
win() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
