#!/usr/bin/python3
"""Reads a DXF drawing with ezdxf, audits it and lists what it holds.

Output, one item a line, fields separated by tabs:
  version <DXF version>     encoding <text encoding>
  audit <errors> <fixes>    error <code> <message>   (one per audit error)
  entity <type> <handle> [<layer> <colour> <line type> [<text>]]
  group <name> <member handles, sorted...>
  block <name> <entity types...>
"""
import sys

import ezdxf


def entity_line(e):
    fields = [e.dxftype(), e.dxf.handle]
    try:
        fields += [e.dxf.layer, str(e.dxf.get("color", 256)), e.dxf.get("linetype", "BYLAYER")]
    except ezdxf.DXFAttributeError:
        return fields  # an entity type ezdxf does not know keeps only type and handle
    if e.dxftype() == "TEXT":
        fields.append(e.dxf.text)
    return fields


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("version\t" + doc.dxfversion)
    print("encoding\t" + doc.encoding)
    print("audit\t%d\t%d" % (len(auditor.errors), len(auditor.fixes)))
    for err in auditor.errors:
        print("error\t%s\t%s" % (err.code, err.message))
    for e in doc.modelspace():
        print("entity\t" + "\t".join(entity_line(e)))
    for name, group in doc.groups:
        # ezdxf keeps group members unordered: they are listed sorted by handle.
        members = sorted((e.dxf.handle for e in group), key=lambda h: int(h, 16))
        print("group\t" + "\t".join([name] + members))
    for block in doc.blocks:
        if block.name.lower().startswith("*model_space") or block.name.lower().startswith("*paper_space"):
            continue
        print("block\t" + "\t".join([block.name] + [e.dxftype() for e in block]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
