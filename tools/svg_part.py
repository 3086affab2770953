#!/usr/bin/python3
"""A PNG of a part of an SVG that cadhost wrote, rendered by rsvg-convert.

svg_part.py SVG PNG --page N [--zoom Z]
    page N (from 1) of a drawing laid out in pages (its rect of class "page");
svg_part.py SVG PNG --page-of TEXT [--zoom Z]
    the page that holds the first text that holds TEXT;
svg_part.py SVG PNG --around TEXT --size W H [--zoom Z]
    a window of W x H millimetres centred on the first text that holds TEXT,
    moved onto the page that holds the text where it reaches beyond it (and
    cut to the page where the page is smaller).

Z is the zoom over 100 % (default 2: two pixels a CSS pixel, 7.6 pixels a
millimetre). The part is cut by giving a copy of the SVG the part's box as
its viewBox and size; everything else of the file stays as written.
"""
import argparse
import re
import subprocess
import sys
import tempfile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("svg")
    parser.add_argument("png")
    parser.add_argument("--page", type=int)
    parser.add_argument("--page-of")
    parser.add_argument("--around")
    parser.add_argument("--size", type=float, nargs=2, metavar=("W", "H"))
    parser.add_argument("--zoom", type=float, default=2.0)
    args = parser.parse_args()

    source = open(args.svg, encoding="utf-8").read()
    root = re.search(r'<svg [^>]*width="([\d.]+)mm"[^>]*viewBox="0 0 ([\d.]+) ([\d.]+)"[^>]*>', source)
    if not root:
        sys.exit(f"svg_part: {args.svg} is no SVG sized in millimetres")
    px_per_mm = float(root.group(2)) / float(root.group(1))

    def text_at(wanted):
        """Where the first text that holds `wanted` starts (pixels of the page)."""
        texts = re.finditer(r'<text transform="translate\(([-\d.]+) ([-\d.]+)\)[^"]*"[^>]*>(.*?)</text>', source)
        at = next(((float(m.group(1)), float(m.group(2))) for m in texts
                   if wanted in re.sub(r"<[^>]*>", "", m.group(3))), None)
        if at is None:
            sys.exit(f"svg_part: no text of {args.svg} holds {wanted}")
        return at

    pages = [tuple(float(v) for v in page) for page in re.findall(
        r'<rect class="page" x="([-\d.]+)" y="([-\d.]+)" width="([\d.]+)" height="([\d.]+)"', source)]
    if args.page:
        if not 1 <= args.page <= len(pages):
            sys.exit(f"svg_part: {args.svg} has {len(pages)} pages, no page {args.page}")
        x, y, w, h = pages[args.page - 1]
    elif args.page_of:
        tx, ty = text_at(args.page_of)
        page = next((p for p in pages if p[0] <= tx <= p[0] + p[2] and p[1] <= ty <= p[1] + p[3]), None)
        if page is None:
            sys.exit(f"svg_part: the text {args.page_of} of {args.svg} is on no page")
        x, y, w, h = page
    elif args.around and args.size:
        tx, ty = text_at(args.around)
        w, h = args.size[0] * px_per_mm, args.size[1] * px_per_mm
        x, y = tx - w / 2, ty - h / 2
        page = next((p for p in pages if p[0] <= tx <= p[0] + p[2] and p[1] <= ty <= p[1] + p[3]), None)
        if page is not None:
            w, h = min(w, page[2]), min(h, page[3])
            x = min(max(x, page[0]), page[0] + page[2] - w)
            y = min(max(y, page[1]), page[1] + page[3] - h)
    else:
        parser.error("give --page N, --page-of TEXT, or --around TEXT with --size W H")

    part = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w / px_per_mm:.3f}mm" height="{h / px_per_mm:.3f}mm" '
            f'viewBox="{x:.3f} {y:.3f} {w:.3f} {h:.3f}">')
    cut = source[:root.start()] + part + source[root.end():]
    with tempfile.NamedTemporaryFile("w", suffix=".svg", encoding="utf-8") as f:
        f.write(cut)
        f.flush()
        subprocess.run(["rsvg-convert", "--zoom", str(args.zoom), "--background-color", "white", "-o", args.png,
                        f.name], check=True)


if __name__ == "__main__":
    main()
