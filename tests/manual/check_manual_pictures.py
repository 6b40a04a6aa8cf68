#!/usr/bin/env python3
"""Checks that the technician's manual shows exactly the pictures the
screenshot script makes: every <img> of docs/Hexwarden.html names a picture
that scripts/screenshot.sh --manual saves, every picture it saves is shown,
each is in docs/images, and every procedure's section of the page shows at
least one. A section is a heading (h2, h3) with what follows it up to the
next heading of its level or above; headings of class "topic" (contents,
message tables, troubleshooting) are no procedures. Exits with 1 and names
the differences when not."""
import re
import sys
from html.parser import HTMLParser
from pathlib import Path

SECTION_LEVELS = {"h2": 2, "h3": 3}


class Page(HTMLParser):
    """The page's pictures, and its sections with the pictures in each."""

    def __init__(self):
        super().__init__()
        self.sources = []
        self.sections = []  # [level, title, is_topic, pictures]
        self.open = []  # the sections a picture here belongs to
        self.heading = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "img":
            self.sources.append(attrs.get("src", ""))
            for section in self.open:
                section[3] += 1
        elif tag in SECTION_LEVELS:
            level = SECTION_LEVELS[tag]
            self.open = [s for s in self.open if s[0] < level]
            topic = "topic" in (attrs.get("class") or "").split()
            self.heading = [level, "", topic, 0]
            self.sections.append(self.heading)
            self.open.append(self.heading)

    def handle_endtag(self, tag):
        if tag in SECTION_LEVELS:
            self.heading = None

    def handle_data(self, data):
        if self.heading is not None:
            self.heading[1] += data


def read_page(path):
    page = Page()
    page.feed(path.read_text(encoding="utf-8"))
    return page


def script_pictures(script):
    # The script's "shot TITLE NAME" calls, TITLE quoted or one word, and
    # its "shot_item TITLE ID NAME" calls, ID a number or a variable.
    text = script.read_text()
    calls = re.findall(r'^\s*shot\s+(?:"[^"]*"|\S+)\s+([a-z0-9][a-z0-9-]*)\s*$', text, re.M)
    calls += re.findall(r'^\s*shot_item\s+(?:"[^"]*"|\S+)\s+\S+\s+([a-z0-9][a-z0-9-]*)\s*$',
                        text, re.M)
    return [f"images/{name}.png" for name in calls]


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
    page = read_page(root / "docs" / "Hexwarden.html")
    shown = page.sources
    made = script_pictures(root / "scripts" / "screenshot.sh")
    problems = [f"shown, but not made by the script: {p}" for p in shown if p not in made]
    problems += [f"made by the script, but not shown: {p}" for p in made if p not in shown]
    problems += [f"missing in docs: {p}" for p in shown if not (root / "docs" / p).is_file()]
    problems += [f"a procedure without a picture: {' '.join(title.split())}"
                 for _, title, topic, pictures in page.sections if not topic and not pictures]
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
