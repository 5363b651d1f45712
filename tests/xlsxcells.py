#!/usr/bin/python3
"""Prints a workbook's sheets as JSON, read with openpyxl as a spreadsheet
program would: every non-empty cell with its type, number format, value
(durations in minutes, dates as ISO text), formula text and cached value,
and for each formula of SUM terms the value the formula itself gives."""
import datetime
import json
import re
import sys

import openpyxl
from openpyxl.utils import range_boundaries


def plain(value):
    if isinstance(value, datetime.timedelta):
        return value.total_seconds() / 60.0
    if isinstance(value, datetime.time):
        return value.hour * 60 + value.minute + value.second / 60.0
    if isinstance(value, (datetime.datetime, datetime.date)):
        return value.isoformat()
    return value


def summed(ws_values, formula):
    """The value of "=SUM(A1:A9)+SUM(B1:B9)" over the cells' values."""
    terms = re.findall(r"SUM\(([A-Z]+[0-9]+:[A-Z]+[0-9]+)\)", formula)
    if not terms or re.sub(r"SUM\([A-Z0-9:]+\)", "", formula[1:]).strip("+"):
        return None
    total = 0.0
    for term in terms:
        min_col, min_row, max_col, max_row = range_boundaries(term)
        for row in ws_values.iter_rows(min_row=min_row, max_row=max_row,
                                       min_col=min_col, max_col=max_col):
            for c in row:
                v = plain(c.value)
                if isinstance(v, (int, float)) and not isinstance(v, bool):
                    total += v
    return total


def main(path):
    formulas = openpyxl.load_workbook(path)
    values = openpyxl.load_workbook(path, data_only=True)
    out = []
    for ws in formulas.worksheets:
        wv = values[ws.title]
        cells = []
        for row in ws.iter_rows():
            for c in row:
                if c.value is None:
                    continue
                cached = wv[c.coordinate].value
                cell = {"ref": c.coordinate, "row": c.row, "col": c.column,
                        "type": c.data_type, "format": c.number_format,
                        "bold": bool(c.font and c.font.b),
                        "value": plain(cached)}
                if c.data_type == "f":
                    cell["formula"] = c.value
                    cell["computed"] = summed(wv, c.value)
                cells.append(cell)
        widths = {k: v.width for k, v in ws.column_dimensions.items() if v.width}
        fit = bool(ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage)
        out.append({"name": ws.title, "freeze": ws.freeze_panes, "widths": widths,
                    "cells": cells, "fitToPage": fit,
                    # a missing attribute is the format's default, 1
                    "fitToWidth": (ws.page_setup.fitToWidth or 1) if fit else None,
                    "fitToHeight": (1 if ws.page_setup.fitToHeight is None
                                    else ws.page_setup.fitToHeight) if fit else None})
    print(json.dumps(out, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
