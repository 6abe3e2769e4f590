"""The screens' layout header read from Python: the artwork tool draws the
pictures to fit it and the end-to-end tests aim the pointer by it, so the
game, its pictures and its tests take every position from one place."""

import ast
import os
import re

LAYOUT_H = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "src", "screens",
                        "Layout.h")


def read_layout(path=LAYOUT_H):
    """Every `constexpr <type> NAME = value;` (or `NAME[n] = {...};`) of the
    header, braces read as tuples."""
    with open(path) as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    found = re.findall(r"constexpr\s+[\w:]+\s+(\w+)(?:\[\d+\])?\s*=\s*([^;]+);", text)
    return {name: ast.literal_eval(value.replace("{", "(").replace("}", ")"))
            for name, value in found}
