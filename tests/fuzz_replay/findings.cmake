# Inputs with which a fuzz target once found a fault (now mended): each is
# kept in its seed corpus and replayed as a test of its own.
#   rail_fuzz_finding(<target> <file in fuzz/corpus/<target>>)
# A chainage line holding a NUL byte: the value was cut at it unseen, and the
# settings saved from it loaded to other settings. Such a line is refused.
rail_fuzz_finding(pmcs nul-byte-in-a-chainage)
# A text height of 1e-30 mm: saved as 0.000000, a file the loader refuses.
# Numbers are saved in as many digits as give them back.
rail_fuzz_finding(pmcs tiny-text-height-saved-and-loaded)
# A drawing whose class HDMTEXT has a C++ name of NUL bytes before "HdmText":
# the entities read as proxies of a class without a name, saved under a class
# record the reader leaves out, so that the drawing saved again lost them. A
# text now ends at a NUL byte, so the class is no class and the entities are
# read as the registered HdmText.
rail_fuzz_finding(sections class-name-after-a-nul-byte.dxf)
# Settings whose only Chinese was 位 of "4位": saved as GBK, a file that is
# valid UTF-8 too, which the text layer read as UTF-8 ("4λ") and refused. Such
# a file is now read as GBK first.
rail_fuzz_finding(pmcs gbk-file-that-reads-as-utf8)
