#!/usr/bin/python3
"""Checks that every relative link and picture in the docs resolves, and that
every #anchor names a heading of its target as GitHub spells it.

  check_links.py REPO_ROOT
"""

import re
import sys
from pathlib import Path

LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)")
HEADING = re.compile(r"#{1,6}\s+(.*?)[\s#]*$")


def lines_outside_code(path):
    fenced = False
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("```"):
            fenced = not fenced
        elif not fenced:
            yield line


def anchors(path):
    """GitHub's: lowercase, punctuation dropped, spaces to hyphens, and a
    repeated heading numbered -1, -2, ..."""
    seen, result = {}, set()
    for line in lines_outside_code(path):
        match = HEADING.match(line)
        if match:
            slug = re.sub(r"[^\w\- ]", "", match.group(1).lower()).replace(" ", "-")
            count = seen.get(slug, 0)
            seen[slug] = count + 1
            result.add(f"{slug}-{count}" if count else slug)
    return result


def broken_links(doc):
    for line in lines_outside_code(doc):
        for target in LINK.findall(line):
            if re.match(r"[a-z]+:", target):
                continue  # http:, https:, mailto: are not ours to check
            path, _, anchor = target.partition("#")
            dest = (doc.parent / path).resolve() if path else doc
            if not dest.is_file():
                yield f"{target}: no such file"
            elif anchor and (dest.suffix != ".md" or anchor not in anchors(dest)):
                yield f"{target}: no heading #{anchor} in {dest.name}"


def main():
    root = Path(sys.argv[1])
    docs = [root / "README.md", root / "CONTRIBUTING.md", *sorted(root.glob("docs/*.md"))]
    errors = [f"{doc.relative_to(root)}: {error}" for doc in docs for error in broken_links(doc)]
    print("\n".join(errors) or f"every link in {len(docs)} files resolves")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
