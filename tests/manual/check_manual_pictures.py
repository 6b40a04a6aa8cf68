#!/usr/bin/env python3
"""Checks that the technician's manual shows exactly the pictures the
screenshot script makes: every <img> of docs/Hexwarden.html names a picture
that scripts/screenshot.sh --manual saves, every picture it saves is shown,
and each is in docs/images. Exits with 1 and names the differences when not."""
import re
import sys
from html.parser import HTMLParser
from pathlib import Path


class ImageList(HTMLParser):
    def __init__(self):
        super().__init__()
        self.sources = []

    def handle_starttag(self, tag, attrs):
        if tag == "img":
            self.sources.append(dict(attrs).get("src", ""))


def page_pictures(page):
    parser = ImageList()
    parser.feed(page.read_text(encoding="utf-8"))
    return parser.sources


def script_pictures(script):
    # The script's "shot TITLE NAME" calls, TITLE quoted or one word.
    calls = re.findall(r'\bshot\s+(?:"[^"]*"|\S+)\s+([a-z0-9][a-z0-9-]*)', script.read_text())
    return [f"images/{name}.png" for name in calls]


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
    shown = page_pictures(root / "docs" / "Hexwarden.html")
    made = script_pictures(root / "scripts" / "screenshot.sh")
    problems = [f"shown, but not made by the script: {p}" for p in shown if p not in made]
    problems += [f"made by the script, but not shown: {p}" for p in made if p not in shown]
    problems += [f"missing in docs: {p}" for p in shown if not (root / "docs" / p).is_file()]
    if not made:
        problems.append("the script makes no pictures")
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"{len(shown)} pictures shown, made and present")
    return 0


if __name__ == "__main__":
    sys.exit(main())
