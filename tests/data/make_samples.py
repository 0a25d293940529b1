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


def main():
    with open(os.path.join(HERE, "mode1_notes.vt"), "wb") as f:
        f.write(document(mode1_sample(), 1))
    with open(os.path.join(HERE, "mode2_tree.vt"), "wb") as f:
        f.write(document(mode2_sample(), 2))


if __name__ == "__main__":
    main()
