#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Fills the English plural forms of translations/tilemora_en.ts, which
# `lupdate -pluralonly` leaves empty: "%Ln file(s)" becomes "%Ln file" and
# "%Ln files". Run after lupdate has added a new "%n" text.
import re
import sys
from pathlib import Path

ts = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).with_name("tilemora_en.ts"))
IRREGULAR = {"entries": ("entry", "entries")}


def forms(source: str) -> tuple[str, str]:
    singular = re.sub(r"\((\w+)\)", "", source)
    plural = re.sub(r"\((\w+)\)", r"\1", source)
    for word, (one, many) in IRREGULAR.items():
        singular = singular.replace(word, one)
    return singular, plural


def fill(match: re.Match) -> str:
    source = match.group(2)
    one, many = (s.replace("&", "&amp;") for s in forms(source.replace("&amp;", "&")))
    return (f"{match.group(1)}<translation>\n"
            f"            <numerusform>{one}</numerusform>\n"
            f"            <numerusform>{many}</numerusform>\n"
            f"        </translation>")


text = ts.read_text(encoding="utf-8")
# A message may carry a comment between its source and its translation.
text = re.sub(r'(<message numerus="yes">\s*<source>([^<]*)</source>\s*(?:<comment>[^<]*</comment>\s*)?)'
              r'<translation[^>]*>.*?</translation>',
              fill, text, flags=re.S)
ts.write_text(text, encoding="utf-8")
