# Sourced by the end-to-end scripts, with bin, install and scratch set (and,
# if the script wants them, more options for sample-project in the array
# sample_options): the fresh scratch folder of scratch.sh with the sample
# project in it; data is the project's data folder.
. "$(dirname "${BASH_SOURCE[0]}")/scratch.sh"
"$bin/sample-project" --install "$scratch/install" ${sample_options[@]+"${sample_options[@]}"} \
  --workdir "$scratch/sample" > "$scratch/sample.log"
data="$scratch/sample/data"
