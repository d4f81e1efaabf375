"""Reads an .xls file with xlrd and prints what the tests check, as JSON.

xlrd gives the sheets, cells, formats, fonts, merges and column widths. It
does not parse page setup or protection, so those records are read here
straight from each sheet's records, and formulas are turned back into text
with xlrd's own decompiler.
"""
import json
import os
import struct
import sys

import xlrd
from xlrd import compdoc, formula


def sheet_records(stream, pos):
    """Yields (id, payload) of one sheet's records, BOF to EOF."""
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, pos)
        payload = stream[pos + 4:pos + 4 + size]
        pos += 4 + size
        yield rid, payload
        if rid == 0x000A:
            return


def main(path):
    bk = xlrd.open_workbook(path, formatting_info=True, logfile=open(os.devnull, "w"))
    data = open(path, "rb").read()
    stream = compdoc.CompDoc(data, logfile=open(os.devnull, "w")).get_named_stream("Workbook")

    out = {
        "biff": bk.biff_version,
        "codepage": bk.codepage,
        "sheets": [],
        "fonts": [],
        "xfs": [],
    }
    for f in bk.font_list:
        out["fonts"].append({"name": f.name, "height": f.height, "bold": bool(f.bold),
                             "weight": f.weight, "charset": f.character_set})
    for xf in bk.xf_list:
        b = xf.border
        out["xfs"].append({
            "font": xf.font_index,
            "format": bk.format_map[xf.format_key].format_str,
            "locked": bool(xf.protection.cell_locked),
            "prefix": bool(xf.lotus_123_prefix),
            "halign": xf.alignment.hor_align,
            "valign": xf.alignment.vert_align,
            "wrap": bool(xf.alignment.text_wrapped),
            "borders": [b.left_line_style, b.right_line_style, b.top_line_style,
                        b.bottom_line_style],
        })

    for index in range(bk.nsheets):
        sh = bk.sheet_by_index(index)
        cells = []
        for r in range(sh.nrows):
            for c in range(sh.row_len(r)):
                cell = sh.cell(r, c)
                cells.append([r, c, cell.ctype, cell.value, sh.cell_xf_index(r, c)])
        sheet = {
            "name": sh.name,
            "visibility": sh.visibility,
            "nrows": sh.nrows,
            "ncols": sh.ncols,
            "cells": cells,
            "merges": [list(m) for m in sh.merged_cells],
            "widths": {str(c): ci.width for c, ci in sh.colinfo_map.items()},
            "heights": {str(r): ri.height for r, ri in sh.rowinfo_map.items()},
            "defaultRowHeight": sh.default_row_height,
            "formulas": {},
            "records": {},
        }
        rec = sheet["records"]
        # xlrd keeps sheet positions as offsets into the file when the
        # stream is stored in one piece; bk.base is where the stream starts.
        for rid, p in sheet_records(stream, bk._sh_abs_posn[index] - bk.base):
            if rid == 0x0006:
                row, col, xfi = struct.unpack_from("<HHH", p, 0)
                result = struct.unpack_from("<d", p, 6)[0]
                flags, = struct.unpack_from("<H", p, 14)
                cce, = struct.unpack_from("<H", p, 20)
                rgce = p[22:22 + cce]
                text = formula.decompile_formula(bk, rgce, cce, formula.FMLA_TYPE_CELL,
                                                 browx=row, bcolx=col)
                sheet["formulas"]["%d,%d" % (row, col)] = {
                    "text": text, "result": result, "flags": flags, "tokens": rgce.hex()}
            elif rid in (0x0012, 0x0013, 0x0063, 0x00DD, 0x0083, 0x0084, 0x0081):
                name = {0x0012: "protect", 0x0013: "password", 0x0063: "objprotect",
                        0x00DD: "scenprotect", 0x0083: "hcenter", 0x0084: "vcenter",
                        0x0081: "wsbool"}[rid]
                rec[name] = struct.unpack_from("<H", p, 0)[0]
            elif rid in (0x0026, 0x0027, 0x0028, 0x0029):
                name = {0x0026: "left", 0x0027: "right", 0x0028: "top", 0x0029: "bottom"}[rid]
                rec[name] = struct.unpack_from("<d", p, 0)[0]
            elif rid == 0x00A1:
                paper, scale, start, fitw, fith, flags, hres, vres = struct.unpack_from("<8H", p, 0)
                header, footer = struct.unpack_from("<dd", p, 16)
                rec["setup"] = {"paper": paper, "scale": scale, "fitWidth": fitw,
                                "fitHeight": fith, "flags": flags, "header": header,
                                "footer": footer}
            elif rid == 0x023E:
                rec["window2"] = struct.unpack_from("<H", p, 0)[0]
        out["sheets"].append(sheet)
    print(json.dumps(out))


if __name__ == "__main__":
    main(sys.argv[1])
