"""Prints a spreadsheet file as the tests compare it, read by a reader that is not
the program's writer. One line per item, tab-separated:

    sheets <name> <name> ...          in the order of their tabs
    active <name>
    cell <sheet> <ref> <n|s> <value> <number format> <bold 0|1> <size> <horizontal> <borders l,r,t,b>
    width <sheet> <column letter> <width>   a column given a width of its own
    page <sheet> <paper size> <orientation> <fit to page 0|1> <pages wide> <pages tall>

Cells come row by row; a cell without a value or style is left out.
"""
import sys

import openpyxl


def side(border_side):
    return border_side.style or "-"


def pages(count):
    # A count the file leaves out is one page, the format's default.
    return "1" if count is None else str(count)


def main(path):
    book = openpyxl.load_workbook(path)
    print("\t".join(["sheets"] + book.sheetnames))
    print("active\t" + book.active.title)
    for sheet in book.worksheets:
        setup = sheet.page_setup
        fit = sheet.sheet_properties.pageSetUpPr
        print("\t".join(["page", sheet.title, str(setup.paperSize or ""), str(setup.orientation or "default"),
                         "1" if fit is not None and fit.fitToPage else "0", pages(setup.fitToWidth),
                         pages(setup.fitToHeight)]))
        for letter, dimension in sorted(sheet.column_dimensions.items()):
            if dimension.customWidth and dimension.width:
                # A width given to a range of columns stands for each of them.
                first, last = dimension.min or 1, dimension.max or 1
                for index in range(first, last + 1):
                    print("\t".join(["width", sheet.title, openpyxl.utils.get_column_letter(index),
                                     repr(float(dimension.width))]))
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                kind = "n" if isinstance(cell.value, (int, float)) else "s"
                value = "" if cell.value is None else repr(float(cell.value)) if kind == "n" else cell.value
                b = cell.border
                borders = ",".join(side(s) for s in (b.left, b.right, b.top, b.bottom))
                print("\t".join(["cell", sheet.title, cell.coordinate, kind, str(value), cell.number_format,
                                 "1" if cell.font.b else "0", str(int(cell.font.sz or 0)),
                                 cell.alignment.horizontal or "general", borders]))


main(sys.argv[1])
