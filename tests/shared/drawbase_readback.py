#!/usr/bin/python3
"""Reads a drawing made by the drawing base back with ezdxf and prints what it holds.

Output, one item a line, fields separated by tabs (numbers with 4 decimals):
  audit <errors>
  entity <type> <layer> <colour> <LINE TYPE> <geometry and data of the type...>
      LINE        start end
      LWPOLYLINE  <vertex count> <line-type scale> <x,y,start width,end width per vertex...>
      POLYLINE    <vertex count> <x,y per vertex...>
      TEXT        <text> <style> <halign> <valign> <anchor> <height> <rotation in degrees> <width factor>
                  (anchor: the insertion point for halign 0, else the alignment point)
      SOLID       <four corners>
      INSERT      <block name> <insertion point>
  style <name> <font> <big font> <width>
  group <name> <member count>
  block <name> <entity count>
"""
import sys

import ezdxf


def num(v):
    text = "%.4f" % v
    return "0.0000" if text == "-0.0000" else text


def xy(p):
    return num(p[0]) + "," + num(p[1])


def entity_fields(e):
    kind = e.dxftype()
    fields = [kind, e.dxf.layer, str(e.dxf.get("color", 256)), e.dxf.get("linetype", "BYLAYER").upper()]
    if kind == "LINE":
        fields += [xy(e.dxf.start), xy(e.dxf.end)]
    elif kind == "LWPOLYLINE":
        points = list(e.get_points("xyse"))
        constant = e.dxf.get("const_width", 0.0)
        fields += [str(len(points)), num(e.dxf.get("ltscale", 1.0))]
        for p in points:
            # The widths a vertex is drawn with: its own, else the constant width.
            start, end = (p[2], p[3]) if (p[2] or p[3]) else (constant, constant)
            fields.append(xy(p) + "," + num(start) + "," + num(end))
    elif kind == "POLYLINE":
        vertices = list(e.vertices)
        fields += [str(len(vertices))] + [xy(v.dxf.location) for v in vertices]
    elif kind == "TEXT":
        halign = e.dxf.get("halign", 0)
        anchor = e.dxf.insert if halign == 0 else e.dxf.align_point
        fields += [e.dxf.text, e.dxf.get("style", "Standard"), str(halign), str(e.dxf.get("valign", 0)), xy(anchor),
                   num(e.dxf.height), num(e.dxf.get("rotation", 0.0)), num(e.dxf.get("width", 1.0))]
    elif kind == "SOLID":
        fields += [xy(e.dxf.vtx0), xy(e.dxf.vtx1), xy(e.dxf.vtx2), xy(e.dxf.vtx3)]
    elif kind == "INSERT":
        fields += [e.dxf.name, xy(e.dxf.insert)]
    return fields


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("audit\t%d" % len(auditor.errors))
    for e in doc.modelspace():
        print("entity\t" + "\t".join(entity_fields(e)))
    for style in doc.styles:
        print("style\t" + "\t".join([style.dxf.name, style.dxf.get("font", ""), style.dxf.get("bigfont", ""),
                                     num(style.dxf.get("width", 1.0))]))
    for name, group in doc.groups:
        print("group\t%s\t%d" % (name, len(list(group))))
    for block in doc.blocks:
        if block.name.lower().startswith("*model_space") or block.name.lower().startswith("*paper_space"):
            continue
        print("block\t%s\t%d" % (block.name, len(list(block))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
