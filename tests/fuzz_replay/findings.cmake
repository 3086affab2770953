# Inputs with which a fuzz target once found a fault (now mended): each is
# kept in its seed corpus and replayed as a test of its own.
#   rail_fuzz_finding(<target> <file in fuzz/corpus/<target>>)
