#!/usr/bin/env python3
"""Deterministic edit of a source tree for the differential benchmark.

    edit_tree.py TREE [PERCENT]

Every file whose index in the sorted list of .c and .h files falls on the
chosen fraction (default 10 %) is edited in place: a few lines changed, a
block removed and a block of new lines added, at positions derived from the
file's index, so that two runs give the same tree.
"""
import os
import sys


def edit(path, index):
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    n = len(lines)
    if n < 4:
        lines.append(b"int lqa_bench_added_%d;" % index)
    else:
        # Change every 17th line from a start that depends on the index. A
        # line comment neither ends a block comment early nor joins a
        # continued line, so line types elsewhere stay as they were.
        for k in range(index % 17, n, 17):
            if lines[k].strip() and not lines[k].rstrip().endswith(b"\\"):
                lines[k] = lines[k] + b" // edited"
        # Remove a block of up to 5 lines.
        start = (index * 7) % max(1, n - 5)
        del lines[start:start + 5]
        # Add a block of 4 new lines.
        at = (index * 13) % len(lines)
        block = [b"static int lqa_bench_%d_%d(int v)" % (index, j) for j in range(1)]
        block += [b"{", b"  return v * %d;" % index, b"}"]
        lines[at:at] = block
    with open(path, "wb") as f:
        f.write(b"\n".join(lines))


def main():
    tree = sys.argv[1]
    percent = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    files = []
    for root, dirs, names in os.walk(tree):
        dirs.sort()
        for name in sorted(names):
            if name.endswith((".c", ".h")):
                files.append(os.path.join(root, name))
    files.sort()
    step = max(1, round(100 / percent))
    edited = 0
    for i, path in enumerate(files):
        if i % step == 0:
            edit(path, i)
            edited += 1
    print("edited %d of %d files" % (edited, len(files)))


if __name__ == "__main__":
    main()
