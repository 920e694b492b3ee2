#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a tilemora-scan --export file back, as another tool would.

    read_export.py EXPORT [TREE]

Checks that the file is JSON in ncdu's export layout (version 1.2), turns
every name back into its raw bytes (the \\udcXX escapes are Python's
surrogateescape), and, when TREE is given, that each folder holds exactly
the entries of the real folder (symbolic links aside; a folder that could
not be read holds none). Prints the total of the allocated sizes and the
number of entries counted, then one line per entry: its path, then its
flags.
"""
import json
import os
import stat
import sys


def fail(message):
    sys.exit("read_export: " + message)


def raw(name):
    return name.encode("utf-8", "surrogateescape")


def main():
    with open(sys.argv[1], "rb") as source:
        document = json.loads(source.read().decode("utf-8"))
    tree = os.fsencode(sys.argv[2]) if len(sys.argv) > 2 else None
    if not (isinstance(document, list) and len(document) == 4 and document[:2] == [1, 2]):
        fail("not an export of version 1.2")
    meta = document[2]
    if meta.get("progname") != "tilemora-scan" or not isinstance(meta.get("timestamp"), int):
        fail("metadata: %r" % meta)
    total = 0
    entries = 0
    lines = []
    pending = [(document[3], b"", tree)]
    while pending:
        node, parent, real = pending.pop()
        folder = isinstance(node, list)
        info = node[0] if folder else node
        if not isinstance(info, dict) or not isinstance(info.get("name"), str):
            fail("an entry without a name under %r" % parent)
        path = raw(info["name"]) if not parent else parent + b"/" + raw(info["name"])
        if parent:
            entries += 0 if "excluded" in info else 1
        total += info.get("dsize", 0)
        flags = [key for key in ("read_error", "notreg", "hlnkc", "excluded") if key in info]
        lines.append(path + b"\t" + " ".join(flags).encode() + (b" folder" if folder else b""))
        if not folder:
            continue
        children = node[1:]
        if real is not None and "read_error" not in info:
            on_disk = {name for name in os.listdir(real)
                       if not stat.S_ISLNK(os.lstat(os.path.join(real, name)).st_mode)}
            exported = {raw((c[0] if isinstance(c, list) else c)["name"]) for c in children}
            if on_disk != exported:
                fail("%r holds %r, the export %r" % (real, sorted(on_disk), sorted(exported)))
        for child in reversed(children):
            name = raw((child[0] if isinstance(child, list) else child)["name"])
            pending.append((child, path, os.path.join(real, name) if real is not None else None))
    sys.stdout.buffer.write(b"total %d\nentries %d\n" % (total, entries))
    sys.stdout.buffer.write(b"\n".join(lines) + b"\n")


main()
