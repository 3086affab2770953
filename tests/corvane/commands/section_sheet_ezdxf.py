#!/usr/bin/python3
"""Reads a drawing of cross-section sheets with ezdxf and counts what it holds.

Output, one item a line, fields separated by tabs:
  audit <errors>
  type <DXF type> <count>          (model space, by entity type)
  layer <layer> <count>            (model space, by layer)
  prefix <text prefix> <count>     (TEXT entities whose text starts with each prefix given)
Usage: section_sheet_ezdxf.py <drawing.dxf> [<text prefix>...]
"""
import collections
import sys

import ezdxf


def main(path, prefixes):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("audit\t%d" % len(auditor.errors))
    types = collections.Counter()
    layers = collections.Counter()
    starts = collections.Counter()
    for e in doc.modelspace():
        types[e.dxftype()] += 1
        try:
            layers[e.dxf.layer] += 1
        except ezdxf.DXFAttributeError:
            layers["?"] += 1
        if e.dxftype() == "TEXT":
            for p in prefixes:
                if e.dxf.text.startswith(p):
                    starts[p] += 1
    for name, count in sorted(types.items()):
        print("type\t%s\t%d" % (name, count))
    for name, count in sorted(layers.items()):
        print("layer\t%s\t%d" % (name, count))
    for p in prefixes:
        print("prefix\t%s\t%d" % (p, starts[p]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
