#!/usr/bin/env python3
"""Writes the sample notes in this folder, each in the form the Windows
rich-edit control gives a note: GBK and Big5 text as \\'xx escapes, \\uN with
"?" fallbacks, bullets with {\\pntext} and {\\*\\pn}, a bitmap as an embedded
object whose data is a 31-byte object header and a bitmap file, and pictures
as \\pict groups. Run it again only to change the samples."""
import struct
import zlib


def hexbytes(text, codec):
    return "".join("\\'%02x" % b if b >= 0x80 else chr(b) for b in text.encode(codec))


def hexlines(data):
    h = data.hex()
    return "\r\n".join(h[i:i + 128] for i in range(0, len(h), 128))


def bmp24(width, height, pixel):
    row = (width * 3 + 3) // 4 * 4
    bits = b"".join(
        b"".join(bytes(pixel(x, y)) for x in range(width)) + b"\0" * (row - width * 3)
        for y in reversed(range(height)))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    header = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return header + info + bits


def png(width, height, pixel):
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)[::-1]) for x in range(width))
                   for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def checker(x, y):  # blue, green, red
    return (0, 0, 255) if (x + y) % 2 == 0 else (255, 255, 0)


def write(name, text):
    with open(name, "wb") as f:
        f.write(text.encode("latin-1"))


gbk = "".join([
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052",
    "{\\fonttbl{\\f0\\fnil\\fcharset134 ", hexbytes("宋体", "gbk"), ";}",
    "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n",
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n",
    "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20 ",
    hexbytes("中文筆記", "gbk"), "\\par\r\n",
    "\\cf1\\b\\fs28 ", hexbytes("红色粗体", "gbk"), "\\cf0\\b0\\fs20\\par\r\n",
    "\\pard\\qc\\i\\f1 centered italic\\i0\\par\r\n",
    "\\pard\\sb60\\sa60\\ul underlined\\ulnone  tab\\tab end\\line second line\\par\r\n",
    "{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-200\\li200 \\f0 ",
    hexbytes("项目", "gbk"), "\\par\r\n",
    "\\pard\\cf2\\lquote q\\rquote  \\ldblquote dq\\rdblquote  a\\emdash b\\endash c\\bullet\\cf0\\par\r\n",
    "\\u32321?\\u-10179?\\u-8704? emoji\\par\r\n",
    "}\r\n"])
write("gbk_note.rtf", gbk)

big5 = "".join([
    "{\\rtf1\\ansi\\ansicpg950\\deff0\\deflang1033\\deflangfe1028",
    "{\\fonttbl{\\f0\\fnil\\fcharset136 ", hexbytes("細明體", "big5"), ";}",
    "{\\f1\\fnil\\fcharset134 ", hexbytes("宋体", "gbk"), ";}}\r\n",
    "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\lang1028\\f0\\fs24 ",
    hexbytes("繁體中文筆記", "big5"), "\\par\r\n",
    "\\pard\\qr\\b ", hexbytes("靠右", "big5"), "\\b0\\par\r\n",
    "\\f1 ", hexbytes("简体字", "gbk"), "\\f0  ", hexbytes("與", "big5"), "\\par\r\n",
    "}\r\n"])
write("big5_note.rtf", big5)

bitmap = bmp24(4, 3, checker)
header = (b"\x01\x05\x00\x00\x02\x00\x00\x00\x07\x00\x00\x00PBrush\x00" +
          b"\x00" * 8 + struct.pack("<I", len(bitmap)))
assert len(header) == 31
obj = "".join([
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052",
    "{\\fonttbl{\\f0\\fnil\\fcharset134 ", hexbytes("宋体", "gbk"), ";}}\r\n",
    "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20 ", hexbytes("圖片：", "gbk"),
    "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw60\\objh45{\\*\\objdata \r\n",
    hexlines(header + bitmap), "\r\n}{\\result{\\pict\\wmetafile8\\picw106\\pich79\\picwgoal60\\pichgoal45 \r\n",
    "0100090000031e00000000000500000000000000\r\n}}}", hexbytes("之後", "gbk"), "\\par\r\n",
    "}\r\n"])
write("object_bitmap.rtf", obj)

dib = bitmap[14:]
device = b"".join(b"".join(bytes(checker(x, y)) for x in range(2)) + b"\0\0" for y in range(2))
pict = "".join([
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 ", hexbytes("宋体", "gbk"), ";}}\r\n",
    "\\viewkind4\\uc1\\pard\\f0\\fs20 png {\\pict\\pngblip\\picw4\\pich3\\picwgoal60\\pichgoal45 \r\n",
    hexlines(png(4, 3, checker)), "\r\n}\\par\r\n",
    "dib {\\pict\\dibitmap0\\picw4\\pich3\\picwgoal60\\pichgoal45 \r\n", hexlines(dib), "\r\n}\\par\r\n",
    "ddb {\\pict\\wbitmap0\\picw2\\pich2\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes8 ",
    hexlines(device), "}\\par\r\n",
    "emf {\\pict\\emfblip 0102}\\par\r\n",
    "}\r\n"])
write("pict_pictures.rtf", pict)
