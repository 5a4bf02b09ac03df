"""Reads the identifier headers shared by the templates, the code and the skin files."""
import re

STANDARD = {"IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5,
            "IDYES": 6, "IDNO": 7}


def read_defines(*paths):
    """{name: number} of every `#define NAME number` in the given headers."""
    names = dict(STANDARD)
    for path in paths:
        with open(path, encoding="ascii") as f:
            for line in f:
                m = re.match(r"\s*#define\s+(\w+)\s+(-?\d+)\b", line)
                if m:
                    names[m.group(1)] = int(m.group(2))
    return names
