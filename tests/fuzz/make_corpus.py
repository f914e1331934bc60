#!/usr/bin/python3
"""Writes the fuzz targets' seed corpora under corpus/. The files are kept in
the repository; run this again (with Debian's /usr/bin/python3) only to change
them. Table files use 512-byte pages so that each seed stays small."""

import os
import shutil
import sqlite3
import struct
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def numbers():
    # First byte: decimals to format with (taken modulo 11); then the text.
    cases = {
        "plain": (2, " 12.5 "),
        "half_away": (0, "-2.5"),
        "exponent": (10, "1.25E-3"),
        "leading_point": (4, "+.5e+2"),
        "huge": (2, "1.7976931348623157e308"),
        "tiny": (10, "4e-320"),
        "letters": (2, "abc"),
        "comma": (1, "1,5"),
        "blank": (2, " "),
        "chinese": (2, "１２.５度"),
    }
    for name, (decimals, text) in cases.items():
        write("numbers", name, bytes([decimals]) + text.encode("utf-8"))


def gbk():
    report = " 大气压力：101325Pa\r\n    A  20.00  14.18  50.00\r\n"
    write("gbk", "report_gbk", report.encode("gbk"))
    write("gbk", "report_utf8", report.encode("utf-8"))
    write("gbk", "ascii", b"t=20 rh=50\r\n")
    write("gbk", "lead_byte_at_end", "焓".encode("gbk") + b"\x81")
    write("gbk", "bad_trail_byte", b"\x81\x20\xff\xfe")
    write("gbk", "no_gbk_form", "状态点 ☃ \U0001F600".encode("utf-8"))


def csv():
    # First byte: the longest line kept (below 192: that modulo 64; else the
    # reader's own limit); second: the device's piece size (1 + that modulo 64).
    cases = {
        "state_batch": (255, 61, "\ufefft,rh\r\n20,50\r\n25.5,60\r\n"),
        "line_ends": (255, 0, "a\rb\r\nc\n\nd"),
        "cr_lf_split": (255, 0, "ab\r\ncd\r\r\n"),
        "quoted": (255, 10, ' 20 , "a,b","say ""hi""",\n"open,quote\n'),
        "too_long": (5, 2, "short\nthis one is longer\nok\n"),
        "chinese": (255, 1, "状态点,温度\n室外,35\n"),
    }
    for name, (longest, piece, text) in cases.items():
        write("csv", name, bytes([longest, piece]) + text.encode("utf-8"))


def weather_csv():
    header = "Province,City,Txk,Twx,Tdk,Tdm\n"
    cases = {
        "stations": header + "北京,北京,33.5,26.4,-9.9,44\n天津,塘沽,32.5,26.9,-9.2,59\n",
        "no_wet_bulb": header + "新疆,克孜勒苏柯尔克孜自治州(乌恰),28.8,,-17.9,59\n",
        "crlf_bom_blank": "\ufeff" + header.replace("\n", "\r\n") + "\r\n安徽,安庆,35.3,28.1,-2.9,75\r\n",
        "quoted": header + '"河北",石家庄, 35.1 ,"26.8",-8.8,55\n',
        "no_number": header + "北京,北京,33.5,湿,-9.9,44\n",
        "short_line": header + "北京,北京,33.5\n",
        "other_header": "City,Province\n北京,北京\n",
        "mark_inside": header + '"\t\ufeff北京",北京,33.5,26.4,-9.9,44\n\ufeff天津,天津,,,,\n',
    }
    for name, text in cases.items():
        write("weather_csv", name, text.encode("utf-8"))


def table(target, name, statements, rows=()):
    """A database built by statements; rows go into the first table."""
    handle, path = tempfile.mkstemp(suffix=".DB")
    os.close(handle)
    os.remove(path)
    db = sqlite3.connect(path)
    db.execute("PRAGMA page_size = 512")
    for statement in statements:
        db.execute(statement)
    for sql, values in rows:
        db.execute(sql, values)
    db.commit()
    db.execute("VACUUM")
    db.close()
    with open(path, "rb") as f:
        write(target, name, f.read())
    os.remove(path)


RECORDS = 'CREATE TABLE records ("Name" TEXT, "Value" REAL, "Note" TEXT)'
INSERT = "INSERT INTO records VALUES (?, ?, ?)"


def record_table():
    table("record_table", "records", [RECORDS], [
        (INSERT, ("A", 12.5, "第一条")),
        (INSERT, (None, None, None)),
        (INSERT, ("长名称超过四个", "26.0", "数值以文本保存")),
        (INSERT, ("B", 3, "")),
        (INSERT, ("C", 1e300, "-0.5")),
    ])
    table("record_table", "empty", [RECORDS])
    table("record_table", "no_number", [RECORDS], [(INSERT, ("A", "abc", ""))])
    table("record_table", "other_columns",
          ['CREATE TABLE records ("Name" TEXT, "Note" TEXT, "Value" REAL)'])
    table("record_table", "two_tables", [RECORDS, "CREATE TABLE other (x)"])
    table("record_table", "without_rowid",
          ['CREATE TABLE records ("Name" TEXT PRIMARY KEY, "Value" REAL, "Note" TEXT) '
           "WITHOUT ROWID"])
    write("record_table", "not_a_database", b"SQLite format 2\x00not really\n")


POINTS = ('CREATE TABLE records ("No" TEXT, "T" REAL, "RH" REAL, "Ts" REAL, "D" REAL, '
          '"I" REAL, "Ruo" REAL, "Tv" REAL, "P" REAL)')
POINT = "INSERT INTO records VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"


def point_file():
    table("point_file", "points", [POINTS], [
        (POINT, ("A", 20, 50, 13.84, 7.26, 38.55, 1.2, 9.27, 1168.8)),
        (POINT, ("室外", 35, 60, 28.9, 21.45, 90.1, 1.13, 26.1, 3374.5)),
        (POINT, ("B", None, None, None, None, None, None, None, None)),
    ])
    table("point_file", "empty", [POINTS])
    table("point_file", "far_off_chart", [POINTS], [
        (POINT, ("X", 1e300, -1e300, 0, -1e308, 1e308, 0, 0, 0)),
    ])
    table("point_file", "renamed_table", [POINTS.replace("records", "id_tu")])


def pipe_record(name, roughness, sizes, count=None, name_length=None):
    """One 1168-byte pipe.dat record: sizes are (DN, De, E) in mm."""
    encoded = name.encode("gbk")
    record = bytearray(1168)
    record[0] = len(encoded) if name_length is None else name_length
    record[1:1 + len(encoded)] = encoded
    for k, (dn, de, e) in enumerate(sizes):
        struct.pack_into("<i", record, 32 + 4 * k, dn)
        struct.pack_into("<d", record, 192 + 8 * k, de)
        struct.pack_into("<d", record, 512 + 8 * k, de - 2 * e)
        struct.pack_into("<d", record, 832 + 8 * k, e)
    struct.pack_into("<i", record, 1152, len(sizes) if count is None else count)
    struct.pack_into("<d", record, 1160, roughness)
    return bytes(record)


def weather_year():
    # The same text goes to the EPW reader, the CSV reader and (its first
    # line) the month and hour filters.
    header = ["LOCATION,Testville,Hebei,CHN,SYNTHETIC,545110,39.80,116.47,8.0,31.3",
              "DESIGN CONDITIONS,0", "TYPICAL/EXTREME PERIODS,0", "GROUND TEMPERATURES,0",
              "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0", "COMMENTS 1,Synthetic", "COMMENTS 2,",
              "DATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31"]

    def row(month, day, hour, t, dew, rh, p, year=2001):
        return ("%d,%d,%d,%d,60,?9?9?9?9E0?9?9?9?9?9?9?9?9?9?9?9?9?9?9?9*9*9?9?9?9,%s,%s,%s,%s,"
                "9999,9999,315,0,0,0,0,0,0,0,180,2.1,5,3,9999,77777,9,999999999,0,0.0000,0,88,"
                "0.200,0,1.0" % (year, month, day, hour, t, dew, rh, p))

    def epw(rows, end="\n", bom=""):
        return bom + end.join(header + rows) + end

    three = [row(1, 1, h, 10 + h / 10, 2.5, 50, 101325) for h in (1, 2, 3)]
    cases = {
        "epw_hours": epw(three),
        "epw_crlf_bom_blank_end": epw(three, "\r\n", "\ufeff") + "\r\n\r\n",
        "epw_missing_codes": epw([row(7, 1, 1, 99.9, 20, 60, 95000),
                                  row(7, 1, 2, 30, 99.9, 60, 95000),
                                  row(7, 1, 3, 30, 20, 999, 95000),
                                  row(7, 1, 4, 30, 20, 60, 999999),
                                  row(7, 1, 5, 30, 20, 105, 95000)]),
        "epw_leap_day": epw([row(2, 29, h, -3, -8, 70, 101000, 2004) for h in (23, 24)] +
                            [row(3, 1, 1, -4, -8, 75, 101000, 2004)]),
        "epw_year_end": epw([row(12, 31, 24, -1, -5, 60, 100000), row(1, 1, 1, -2, -6, 60, 100000)]),
        "epw_latin1_name": epw(three).replace("Testville", "Z\xfcrich"),
        "epw_hour_twice": epw(three + [three[0]]),
        "epw_bad_day": epw([row(4, 31, 1, 10, 5, 50, 101325)]),
        "epw_out_of_range": epw([row(1, 1, 1, 85, 5, 50, 101325), row(1, 1, 2, 10, 5, 120, 20000)]),
        "epw_short_rows": epw(["2001,1,1,1,60,x,20,10,50"]),
        "epw_header_only": epw([]),
        "epw_seven_header_lines": "\n".join(header[:7] + three) + "\n",
        "csv_dates": " Hour ,Month, DAY ,T,RH,wind\n5,7,14,31.5,55,2\n6,7,14,30,,3\n",
        "csv_pressure": "\ufefft,rh,p\r\n20,50,90000\r\n21,40,92000\r\n",
        "csv_moisture": "t,d,p\n30,18.5,80000\n20,7.3,\n10,50,90000\n",
        "csv_no_dates": "t,rh\n" + "".join("%d,%d\n" % (k % 30, 40 + k % 50) for k in range(30)),
        "csv_refused": "month,day,t,rh\n1,1,20,50\n",
        "filter_months": "6-8\n",
        "filter_wrap": "11～2\n",
        "filter_lists": "8-12,14-18\n",
    }
    for name, text in cases.items():
        data = text.encode("latin-1") if name == "epw_latin1_name" else text.encode("utf-8")
        write("weather_year", name, data)


def pipe_catalogue():
    steel = pipe_record("焊接钢管(GB3092)", 0.2,
                        [(15, 21.25, 2.75), (20, 26.75, 2.75), (25, 33.5, 3.25)])
    copper = pipe_record("铜管(B型)", 0.0025, [(15, 15, 0.7), (20, 22, 0.9)])
    write("pipe_catalogue", "two_types", steel + copper)
    write("pipe_catalogue", "empty", b"")
    write("pipe_catalogue", "no_sizes", pipe_record("新管", 0.5, []))
    write("pipe_catalogue", "forty_sizes",
          pipe_record("A" * 30, 0.2, [(k, k + 10.0, 1.0) for k in range(1, 41)]))
    write("pipe_catalogue", "short_by_a_byte", steel[:-1])
    write("pipe_catalogue", "name_too_long", steel + pipe_record("坏", 0.2, [], name_length=31))
    write("pipe_catalogue", "too_many_sizes", pipe_record("坏", 0.2, [], count=41))
    write("pipe_catalogue", "half_a_character",
          pipe_record("焊", 0.2, [(25, 33.5, 3.25)], name_length=1))


def project_file():
    cases = {
        "duct_defaults": b" 1.50600000000000E-0005\r\n 1.20400000000000E+0000\r\n"
                         b" 1.50000000000000E-0001\r\n",
        "duct_decimals": b"1.5e-5\n1.2\n0.1",
        "pipe": "焊接钢管(GB3092)\r\n95\r\n70\r\n".encode("gbk"),
        "two_lines": b"1\r\n2\r\n",
        "not_gbk": b"\xff\xfe\r\n1\r\n2\r\n",
        "huge_exponent": b"1e308\r\n-1e-320\r\n0\r",
    }
    for name, data in cases.items():
        write("project_file", name, data)


def loops_file():
    head = "Ventacalc环路表 1\r\n"
    cases = {
        "two_groups": head + "限值 0.15\r\n环路 A\r\n管段 1\r\n管段 2\r\n管段 3\r\n"
                      "环路 B\r\n管段 1\r\n管段 4\r\n环路 C\r\n管段 1\r\n管段 2\r\n"
                      "并联 A,B\r\n并联 C,A\r\n",
        "lf_no_last_end": head.replace("\r\n", "\n") + "环路 供水\n管段 主干 1",
        "empty_loop": head + "环路 A\r\n环路 B\r\n管段 1\r\n",
        "segment_twice": head + "环路 A\r\n管段 1\r\n管段 1\r\n",
        "group_unknown": head + "环路 A\r\n管段 1\r\n并联 A,X\r\n",
        "limit_late": head + "环路 A\r\n管段 1\r\n限值 0.2\r\n",
    }
    for name, text in cases.items():
        write("loops_file", name, text.encode("utf-8"))
    write("loops_file", "not_utf8", head.encode("utf-8") + b"\xff\r\n")


def pdf_file(cmap, length=None):
    """A one-page PDF laid out as Qt writes it, whose one font reads back
    through cmap; length replaces the CMap stream's /Length entry."""
    length = length or b"%d" % len(cmap)
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100]"
        b" /Resources << /Font << /F1 4 0 R >> >> >>",
        b"<< /Type /Font /Subtype /Type0 /BaseFont /X /Encoding /Identity-H"
        b" /ToUnicode 5 0 R >>",
        b"<< /Length " + length + b" >>\nstream\n" + cmap + b"endstream",
    ]
    out = b"%PDF-1.4\n"
    offsets = []
    for k, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % k + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for o in offsets:
        out += b"%010d 00000 n \n" % o
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    return out


def pdf_text_layer():
    # Each form of mapping, radicals among the destinations.
    cmap = (b"/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
            b"/CMapName /Adobe-Identity-UCS def\n"
            b"1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
            b"2 beginbfchar\n<0001> <2F00>\n<0002> <0041>\nendbfchar\n"
            b"2 beginbfrange\n<0003> <0005> <2EDA>\n<0006> <0007> [<2F32> <2F53>]\n"
            b"endbfrange\nendcmap\nCMapName currentdict /CMap defineresource pop\n"
            b"end\nend\n")
    forms = pdf_file(cmap)
    write("pdf_text_layer", "cmap_forms.pdf", forms)
    write("pdf_text_layer", "cut_in_half.pdf", forms[:len(forms) // 2])
    write("pdf_text_layer", "indirect_length.pdf", pdf_file(cmap, b"6 0 R"))
    write("pdf_text_layer", "long_range.pdf",
          pdf_file(cmap.replace(b"<0003> <0005>", b"<0003> <FFFF>")))
    write("pdf_text_layer", "surrogates.pdf",
          pdf_file(cmap.replace(b"<0041>", b"<D841DE28>")))


def pipe_sizes_csv():
    header = "Type,K_mm,DN,De_mm,E_mm,Di_mm\n"
    steel = ("焊接钢管(GB3092),0.2,15,21.25,2.75,15.75\n"
             "焊接钢管(GB3092),0.2,20,26.75,2.75,21.25\n")
    cases = {
        "shipped": header + steel + "铜管(B型),0.0025,15,15,0.7,13.6\n",
        "crlf_bom_quoted": "\ufeff" + header.replace("\n", "\r\n") +
                           '"钢管,无缝",0.1,25,32,3,26\r\n\r\n',
        "out_of_order": header + "A,0.2,50,57,3.5,50\nA,0.2,20,25,2,21\n",
        "two_roughnesses": header + "A,0.2,20,25,2,21\nA,0.3,25,32,3,26\n",
        "inner_diameter_wrong": header + "A,0.2,20,25,2,20\n",
        "lines_apart": header + "A,0.2,20,25,2,21\nB,0.2,20,25,2,21\nA,0.2,25,32,3,26\n",
        "forty_one_sizes": header + "".join(
            "A,0.2,%d,%d,1,%d\n" % (k, k + 10, k + 8) for k in range(1, 42)),
        "name_too_long": header + "%s,0.2,20,25,2,21\n" % ("管" * 16),
        "not_numbers": header + "A,abc,20,25,2,21\nA,0.2,2.5,25,2,21\nA,0.2,20,1e999,2,21\n",
        "no_gbk_form": header + "管\U0001F600,0.2,20,25,2,21\n",
        "header_only": header,
        "other_header": "Type,K,DN\nA,0.2,20\n",
    }
    for name, text in cases.items():
        write("pipe_sizes_csv", name, text.encode("utf-8"))


def coefficients_csv():
    header = "Name,DN15,DN20,DN25,DN32,DN40,DN50\n"
    cases = {
        "shipped": header + "截止阀,16,10,9,9,8,7\n斜杆截止阀,3,3,3,2.5,2.5,2\n",
        "twice": header + "弯头,1,1,1,1,1,1\n弯头,5,5,5,5,5,5\n",
        "negative": header + "弯头,1,1,-1,1,1,1\n",
        "name_too_long": header + "%s,1,1,1,1,1,1\n" % ("阀" * 17),
        "not_a_number": header + "弯头,1,1,1,1,1,x\n",
        "short_line": header + "弯头,1,1\n",
        "quoted_blank": "\ufeff" + header + '" 弯头 ",0,0,0,0,0,1e300\r\n,1,1,1,1,1,1\n',
    }
    for name, text in cases.items():
        write("coefficients_csv", name, text.encode("utf-8"))


def png(width, height, rows=None):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    if rows is None:
        rows = b"".join(b"\x00" + b"\x80\x20\x20" * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(rows)) +
            chunk(b"IEND", b""))


def picture():
    write("picture", "png", png(4, 3))
    write("picture", "png_cut", png(4, 3)[:40])
    write("picture", "png_claims_huge", png(100000, 100000, rows=b"\x00" * 64))
    write("picture", "png_wide_line", png(5000, 1))
    bmp_pixels = b"\x00\x00\xff\x00" * 4
    bmp = (b"BM" + struct.pack("<IHHI", 54 + len(bmp_pixels), 0, 0, 54) +
           struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 32, 0, len(bmp_pixels), 2835, 2835, 0, 0) +
           bmp_pixels)
    write("picture", "bmp", bmp)
    write("picture", "bmp_negative_height", bmp[:22] + struct.pack("<i", -70000) + bmp[26:])
    write("picture", "text", b"not a picture at all")
    write("picture", "empty", b"")


def cli_arguments():
    # First byte: the parser (state, pmv, process, convert, pipe, duct,
    # chart and weather, thread count, unit); then the words, one a line.
    cases = {
        "state": (0, ["t=20", "rh=50", "--pressure", "101325", "--json"]),
        "state_csv_and_values": (0, ["--csv", "f.csv", "t=20", "rh=50"]),
        "state_threads_alone": (0, ["t=20", "rh=50", "--threads", "2"]),
        "state_control_characters": (0, ["t=2\x1b[2J0", "rh=\x07" + "9" * 60]),
        "pmv": (1, ["ta=22", "tr=22", "va=0.1", "rh=60", "activity=坐着活动"]),
        "pmv_csv_json": (1, ["--csv", "-", "--json"]),
        "process": (2, ["1", "tW=34", "tsW=28", "tN=26", "phiN=60", "Q=10", "W=3", "tO=20",
                        "ratio=25"]),
        "process_twice": (2, ["4", "tW=-5", "TW=-5", "--pressure", "1", "--pressure", "2"]),
        "convert": (3, ["1", "atm", "--json"]),
        "pipe_project_twice": (4, ["--project", "a.gzl", "--project", "b.gzl"]),
        "pipe_empty_data_dir": (4, ["type=A\x1b[2J\x07B\nC", "G=1", "--data-dir", ""]),
        "pipe_xlsx_json": (4, ["--project", "a.gzl", "--xlsx", "a.xlsx", "--json"]),
        "duct": (5, ["G=5000", "DN=500", "L=10", "--json"]),
        "chart": (6, ["--out", "c.svg", "--process", "1", "tW=34", "tsW=28", "tN=26", "phiN=60",
                      "Q=10", "W=3", "tO=20", "--zones"]),
        "chart_empty_points": (6, ["--out", "c.png", "--points", "", "--scale"]),
        "weather": (6, ["year.epw", "--months", "11-2", "--hours", "8-18", "--chart", "y.png",
                        "--zones", "--bins", "y.xlsx", "--json"]),
        "weather_chart_option_alone": (6, ["year.epw", "--scale", "2", "a.csv"]),
        "pipe_loops": (4, ["--project", "a.gzl", "--loop", "A=1,2,3", "--loop", "B=1,4",
                           "--group", "A,B", "--loops", "--json"]),
        "threads": (7, ["16"]),
        "threads_too_many": (7, ["257"]),
        "unit": (8, ["1e300", "kgf/cm2"]),
        "unit_case": (8, ["-1", "KW"]),
    }
    for name, (choice, words) in cases.items():
        write("cli_arguments", name, bytes([choice]) + "\n".join(words).encode("utf-8"))


if __name__ == "__main__":
    shutil.rmtree(CORPUS, ignore_errors=True)
    numbers()
    gbk()
    csv()
    weather_csv()
    weather_year()
    record_table()
    point_file()
    pipe_catalogue()
    project_file()
    loops_file()
    pdf_text_layer()


    pipe_sizes_csv()
    coefficients_csv()
    picture()
    cli_arguments()
