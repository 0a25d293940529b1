#!/usr/bin/env python3
"""Writes the sample documents of this folder.

The records are laid out here independently of the C++ writer, so the reader is
checked against a second implementation of the byte layout. Run it from any
directory; it rewrites the .vt files beside it.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def rec_int(tag, value):
    return tag.encode() + struct.pack(">iI" if value >= 0 else ">ii", 4, value)


def rec_text(tag, data):
    return tag.encode() + struct.pack(">i", len(data)) + data


class Node:
    def __init__(self, caption, children=(), link=None, excerpt=b"", expanded=True,
                 view_root=False, note=None, view_style=0, edge_style=0, link_style=0,
                 fill=-1):
        self.caption = caption
        self.children = list(children)
        self.link = link
        self.excerpt = excerpt
        self.expanded = expanded
        self.view_root = view_root
        self.note = note
        self.view_style = view_style
        self.edge_style = edge_style
        self.link_style = link_style
        self.fill = fill
        self.offset = 0
        self.size = 0
        self.raw = 0


def walk(node):
    yield node
    for child in node.children:
        yield from walk(child)


def bound(root, codec):
    total = 0
    for n in walk(root):
        total += 206 + len(n.caption.encode(codec)) + len(n.link or b"") + len(n.excerpt or b"") + 4
    return total


def record(n, mode, codec):
    out = b"vt30" + rec_int("M", mode) + rec_text("A", n.caption.encode(codec))
    if n.excerpt is not None:
        out += rec_text("B", n.excerpt)
    if n.link is not None:
        out += rec_text("C", n.link)
    if n.raw > 0:
        out += rec_int("I", n.raw)
    out += rec_int("E", 0xFF) + b"F\x00\x00\x00\x01A"
    out += rec_int("G", n.offset) + rec_int("H", n.size)
    out += rec_int("J", (1 if n.expanded else 0) | (2 if n.view_root else 0))
    out += rec_int("K", 0) + rec_int("a", 0) + rec_text("b", "宋体".encode("gbk"))
    out += rec_int("c", 18) + rec_int("d", n.fill) + rec_int("e", 1) + rec_int("f", 0xFF0000)
    out += rec_int("g", n.edge_style) + rec_int("h", 0) + rec_int("i", 0x800000)
    out += rec_int("j", n.link_style) + rec_int("k", 0) + rec_int("l", -1)
    out += rec_int("m", n.view_style) + b"D" + struct.pack(">I", len(n.children))
    for child in n.children:
        out += record(child, mode, codec)
    return out


def document(root, mode):
    codec = "gbk" if mode == 1 else "big5"
    notes = b""
    start = bound(root, codec)
    for n in walk(root):
        if n.note is None:
            continue
        data, n.raw = n.note, 0
        if len(data) > 512:
            packed = zlib.compress(data)
            if len(packed) < len(data):
                data, n.raw = packed, len(n.note)
        n.offset, n.size = start + len(notes), len(data)
        notes += data
    index = record(root, mode, codec)
    return index + b"\x00" * (start - len(index)) + notes


def rtf(text):
    return b"{\\rtf1\\ansi\\ansicpg936 " + text + b"\\par }"


def mode1_sample():
    long_note = rtf(b"\\b Plan \\b0 " + b"repeat this line to make it long. " * 40)
    return Node("项目计划", view_root=True, children=[
        Node("需求", link=b"https://example.org/plan", children=[
            Node("用户访谈", note=rtf(b"short note"), excerpt=b"short note"),
            Node("竞品分析", expanded=False, children=[Node("隐藏的节点")]),
        ]),
        Node("设计", note=long_note, excerpt=b"Plan repeat", view_style=4,
             children=[Node("界面"), Node("数据格式", link=b"")]),
        Node("发布", edge_style=2, link_style=3, fill=0x00FFFF00),
    ])


def mode2_sample():
    return Node("專案計畫", view_root=True, children=[
        Node("會議記錄", note=rtf(b"meeting"), excerpt=b"meeting", children=[
            Node("開發進度"),
        ]),
        Node("檔案連結", link=b"C:\\docs\\readme.txt"),
    ])


def bitmap_file(width, height):
    """A 24-bit Windows bitmap: a red-to-blue gradient."""
    row = (width * 3 + 3) & ~3
    pixels = b""
    for y in range(height):
        line = b"".join(bytes((x * 255 // width, 80, 255 - x * 255 // width)) for x in range(width))
        pixels += line + b"\x00" * (row - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    return header + info + pixels


def object_group(file_bytes):
    """A picture as the note editor embeds it: a 31-byte header, then the file."""
    data = (b"\x01" * 31 + file_bytes).hex().encode()
    lines = b"\n".join(data[i:i + 128] for i in range(0, len(data), 128))
    return (b"{\\object\\objemb{\\*\\objclass Paint.Picture}{\\*\\objdata " + lines +
            b"}{\\result{\\pict\\wmetafile8 0102}}}")


def export_sample():
    """Notes as the Windows control writes them, for the export tests."""
    head = (b"{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
            b"\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset2 Symbol;}"
            b"{\\f2\\fnil\\fcharset136 \\'b2\\'d3\\'a9\\'fa\\'c5\\'e9;}}"
            b"{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
            b"{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20 ")
    gbk = "中文笔记".encode("gbk")
    esc = lambda raw: b"".join(b"\\'%02x" % c for c in raw)
    colours = head + esc(gbk) + b" \\cf1\\fs32 red big\\cf2\\fs20  green\\cf0\\par" \
        + b"{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}" \
        + b"bullet item\\par col1\\tab col2\\par \\f2 " + esc("繁體".encode("big5")) \
        + b"\\f0  euro \\u8364? done\\par}"
    picture = head + b"before " + object_group(bitmap_file(40, 20)) + b" middle " + \
        b"{\\pict\\dibitmap0\\picw30\\pich10 " + bitmap_file(30, 10)[14:].hex().encode() + \
        b"} after\\par}"
    return Node("导出测试", view_root=True, children=[
        Node("彩色笔记", note=colours, excerpt="中文笔记".encode("gbk")),
        Node("图片笔记", note=picture, excerpt=b"before middle after"),
        Node("<script>alert(1)</script>", link=b"javascript:alert(1)"),
        Node("\" onmouseover=\"alert(2)", excerpt=b"' onclick='alert(3)"),
        Node("链接", link=b"https://example.org/?a=1&b=2"),
    ])


def main():
    with open(os.path.join(HERE, "export_notes.vt"), "wb") as f:
        f.write(document(export_sample(), 1))
    with open(os.path.join(HERE, "mode1_notes.vt"), "wb") as f:
        f.write(document(mode1_sample(), 1))
    with open(os.path.join(HERE, "mode2_tree.vt"), "wb") as f:
        f.write(document(mode2_sample(), 2))


if __name__ == "__main__":
    main()
