#!/usr/bin/env python3
"""Reads two traces of the same run (JSON lines, one per tick) and names the first tick and field
where they differ, so a moved pin says what moved and when.

usage: first_difference.py EXPECTED GOT   (exit 0 when equal, 1 when they differ)
"""
import json
import sys


def first_field(a, b, path):
    """(path, expected, got) of the first field that differs between a and b, or None."""
    if type(a) is not type(b):
        return path, a, b
    if isinstance(a, dict):
        for key in list(a) + [k for k in b if k not in a]:
            if key not in a or key not in b:
                return f"{path}.{key}", a.get(key, "(none)"), b.get(key, "(none)")
            found = first_field(a[key], b[key], f"{path}.{key}")
            if found:
                return found
        return None
    if isinstance(a, list):
        for i, (x, y) in enumerate(zip(a, b)):
            name = f"{path}[{i}]"
            if isinstance(x, dict) and "class" in x:
                name += f" ({x['class']})"
            found = first_field(x, y, name)
            if found:
                return found
        if len(a) != len(b):
            return f"{path} (length)", len(a), len(b)
        return None
    return (path, a, b) if a != b else None


def shown(value):
    text = json.dumps(value)
    return text if len(text) <= 80 else text[:77] + "..."


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as expected, open(sys.argv[2], encoding="utf-8") as got:
        number = 0
        while True:
            a, b = expected.readline(), got.readline()
            if a == b:
                if not a:
                    return 0
                number += 1
                continue
            if not a or not b:
                print(f"the traces part at line {number + 1}: one ends there "
                      f"({'expected' if not a else 'got'} has no more ticks)")
                return 1
            try:
                ja, jb = json.loads(a), json.loads(b)
            except ValueError:
                print(f"line {number + 1} differs and is not JSON")
                return 1
            tick = ja.get("tick", number)
            path, was, now = first_field(ja, jb, "") or ("", a.strip(), b.strip())
            print(f"first difference: tick {tick}, field {path.lstrip('.') or '(the line)'}: "
                  f"expected {shown(was)}, got {shown(now)}")
            return 1


if __name__ == "__main__":
    sys.exit(main())
