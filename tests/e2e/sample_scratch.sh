# Sourced by the end-to-end scripts, with bin, install and scratch set: a
# fresh scratch folder holding a copy of the install folder, drives of its
# own and the sample project; data is the project's data folder.
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r "$install" "$scratch/install"
export CADHOST_DRIVE_ROOT="$scratch/drives"
"$bin/sample-project" --install "$scratch/install" --workdir "$scratch/sample" > "$scratch/sample.log"
data="$scratch/sample/data"
