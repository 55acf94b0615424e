#!/usr/bin/env python3
"""Compares the functions lqa lists (-l -xNOWRAP) with an independent list.

Usage: compare_functions.py LQA_LISTING TAGS_FILE [--kinds f,m] [--examples N]

LQA_LISTING is the text output of `lqa -l -xNOWRAP ...`; TAGS_FILE is a
Universal Ctags file written with --fields=+nK. Names are compared per file
by their last component (ctags gives unqualified names), as multisets, so a
function defined twice in #if branches counts twice on both sides.
"""
import argparse
import collections
import re
import sys


def last_component(name):
    m = re.search(r"\boperator\b", name)
    if m:
        # Operator names are compared without blanks and without qualifier.
        return "operator" + name[m.end():].replace(" ", "")
    name = re.sub(r"<[^<>]*>", "", name)  # template arguments
    for sep in ("::", "."):
        if sep in name:
            name = name.rsplit(sep, 1)[1]
    return name.strip()


def read_lqa(path):
    per_file = collections.defaultdict(collections.Counter)
    current = None
    with open(path, errors="replace") as f:
        for line in f:
            if line.startswith("  File: "):
                current = line[8:].rstrip("\n")
                continue
            if current is None or not line.startswith("  ") or line.startswith("   "):
                continue
            text = line[2:].rstrip("\n")
            # "name (params)", "template T name (params)", "Inline name (params)"
            cut = text.find(" (")
            if cut >= 0 and text[:cut].endswith("operator"):
                cut = text.find(" (", cut + 2)  # operator () (params)
            if cut < 0:
                continue
            head = text[:cut].split(" ")
            if head and head[0] in ("Inline", "inline"):
                head = head[1:]
            if head and head[0] == "template":
                head = head[2:]
            if not head:
                continue
            name = " ".join(head)
            if name.startswith("End of File") or ":" in name and name.endswith(":"):
                continue
            per_file[current][last_component(name)] += 1
    return per_file


_sources = {}


def has_body(path, line_no):
    """True when the declaration at line_no reaches a '{' before a ';' (not
    an abstract, native or interface method declaration)."""
    if path not in _sources:
        try:
            with open(path, errors="replace") as f:
                _sources[path] = f.read().split("\n")
        except OSError:
            _sources[path] = []
    lines = _sources[path]
    depth = 0
    for text in lines[line_no - 1 : line_no + 40]:
        text = re.sub(r"//.*", "", text)
        for c in text:
            if c == "(":
                depth += 1
            elif c == ")":
                depth -= 1
            elif depth == 0 and c == "{":
                return True
            elif depth == 0 and c == ";":
                return False
    return True


def read_tags(path, kinds, bodies_only=False):
    per_file = collections.defaultdict(collections.Counter)
    with open(path, errors="replace") as f:
        for line in f:
            if line.startswith("!"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) < 4:
                continue
            kind = None
            for field in parts[3:]:
                if field.startswith("kind:"):
                    kind = field[5:]
                elif len(field) == 1:
                    kind = field
            if kinds and kind not in kinds:
                continue
            if bodies_only:
                line_no = next((int(x[5:]) for x in parts[3:] if x.startswith("line:")), 0)
                if line_no and not has_body(parts[1], line_no):
                    continue
            per_file[parts[1]][last_component(parts[0])] += 1
    return per_file


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("lqa")
    ap.add_argument("tags")
    ap.add_argument("--kinds", default="")
    ap.add_argument("--examples", type=int, default=15)
    ap.add_argument("--bodies-only", action="store_true",
                    help="leave out tags whose declaration ends in ';' (no body)")
    args = ap.parse_args()
    kinds = set(k for k in args.kinds.split(",") if k)
    # ctags writes long kind names with --fields=+K
    lqa = read_lqa(args.lqa)
    tags = read_tags(args.tags, kinds, args.bodies_only)
    files = set(lqa) | set(tags)
    both = only_lqa = only_tags = 0
    misses = collections.Counter()
    extras = collections.Counter()
    miss_examples = []
    extra_examples = []
    for f in sorted(files):
        a, b = lqa.get(f, collections.Counter()), tags.get(f, collections.Counter())
        common = a & b
        both += sum(common.values())
        for name, n in (b - a).items():
            only_tags += n
            misses[name] += n
            if len(miss_examples) < 4 * args.examples:
                miss_examples.append((f, name))
        for name, n in (a - b).items():
            only_lqa += n
            extras[name] += n
            if len(extra_examples) < 4 * args.examples:
                extra_examples.append((f, name))
    total_tags = both + only_tags
    total_lqa = both + only_lqa
    print(f"files: {len(files)}")
    print(f"independent list: {total_tags}  lqa: {total_lqa}  in both: {both}")
    if total_tags:
        print(f"recall (independent found by lqa): {100.0 * both / total_tags:.2f}%")
    if total_lqa:
        print(f"precision (lqa found by independent): {100.0 * both / total_lqa:.2f}%")
    print("most frequent misses:", misses.most_common(args.examples))
    print("most frequent extras:", extras.most_common(args.examples))
    print("miss examples:")
    for f, n in miss_examples[: args.examples]:
        print(f"  {f}: {n}")
    print("extra examples:")
    for f, n in extra_examples[: args.examples]:
        print(f"  {f}: {n}")


if __name__ == "__main__":
    sys.exit(main())
