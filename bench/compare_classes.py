#!/usr/bin/env python3
"""Compares the Java classes and interfaces lqa finds (-o -xNOWRAP) with the
class list of a JDK runtime image (`jimage list`).

Usage: compare_classes.py LQA_LISTING JIMAGE_LIST MODULE SOURCE_ROOT
       compare_classes.py --ctags LQA_LISTING TAGS_FILE SOURCE_ROOT

With --ctags the independent list is a Universal Ctags file of the same
sources (kinds c and i, --fields=+nKs); names are compared per file without
their package, as Outer.Inner.

Named classes only: anonymous and local classes (a '$' followed by a digit)
are left out of the runtime list. A runtime class belongs to the source file
of its top-level class (SOURCE_ROOT/MODULE/pkg/Top.java); classes whose
top-level class has no source file of its own (extra top-level classes of
another file, generated classes) are compared by name over the whole module.
Misses are classified by what the source declares them as (enum, record,
annotation type) when it does.
"""
import collections
import os
import re
import sys


def strip_generics(name):
    while True:
        new = re.sub(r"<[^<>]*>", "", name)
        if new == name:
            return name
        name = new


def read_lqa(path):
    per_file = collections.defaultdict(set)
    current = None
    kinds = ("Class", "Struct", "Interface", "Nested Class", "Nested Struct", "Nested Interface")
    with open(path, errors="replace") as f:
        for line in f:
            if line.startswith("  File: "):
                current = line[8:].rstrip("\n")
                continue
            for k in kinds:
                prefix = "  " + k + ": "
                if current and line.startswith(prefix):
                    per_file[current].add(strip_generics(line[len(prefix):].strip()))
    return per_file


def read_jimage(path, module):
    names = []
    current = None
    with open(path) as f:
        for line in f:
            if line.startswith("Module: "):
                current = line.split()[1]
                continue
            entry = line.strip()
            if current != module or not entry.endswith(".class"):
                continue
            entry = entry[:-6]
            if entry.endswith("module-info") or entry.endswith("package-info"):
                continue
            if re.search(r"\$\d", entry):
                continue  # anonymous and local classes
            names.append(entry)
    return names


def compare_with_ctags(lqa_path, tags_path, root, cpp=False):
    lqa = read_lqa(lqa_path)
    tags = collections.defaultdict(set)
    with open(tags_path, errors="replace") as f:
        for line in f:
            if line.startswith("!"):
                continue
            parts = line.rstrip("\n").split("\t")
            kind = next((x for x in parts[3:] if x in ("class", "interface", "struct")), None)
            if kind is None or parts[0].startswith("__anon"):
                continue
            scope = next((x.split(":", 1)[1] for x in parts[3:]
                          if x.startswith(("class:", "interface:", "enum:", "struct:", "namespace:", "union:"))), "")
            scope = re.sub(r"::__anon\w+|^__anon\w+(::)?", "", scope)  # anonymous namespaces
            sep = "::" if cpp else "."
            tags[parts[1]].add((scope + sep if scope else "") + parts[0])
    both = only_tags = only_lqa = same = 0
    examples = []
    for f in sorted(set(lqa) | set(tags)):
        package = os.path.dirname(os.path.relpath(f, root)).split("/", 1)[-1].replace("/", ".") + "."
        a = set(n[len(package):] if n.startswith(package) and not cpp else n for n in lqa.get(f, set()))
        b = tags.get(f, set())
        both += len(a & b)
        only_tags += len(b - a)
        only_lqa += len(a - b)
        same += a == b
        examples += [("ctags only", f, n) for n in sorted(b - a)] + [("lqa only", f, n) for n in sorted(a - b)]
    print(f"files: {len(set(lqa) | set(tags))}, identical sets: {same}")
    print(f"classes and interfaces: ctags {both + only_tags}, lqa {both + only_lqa}, in both {both}")
    print(f"recall {100.0 * both / max(1, both + only_tags):.2f}%  precision {100.0 * both / max(1, both + only_lqa):.2f}%")
    for e in examples[:30]:
        print("  ", *e)


def main():
    if sys.argv[1] in ("--ctags", "--ctags-cpp"):
        compare_with_ctags(*sys.argv[2:5], cpp=sys.argv[1] == "--ctags-cpp")
        return
    lqa_path, jimage_path, module, root = sys.argv[1:5]
    lqa = read_lqa(lqa_path)
    runtime = read_jimage(jimage_path, module)
    expected = collections.defaultdict(set)
    unmapped = set()
    for entry in runtime:
        top = entry.split("$", 1)[0]
        source = os.path.join(root, module, top + ".java")
        dotted = entry.replace("/", ".").replace("$", ".")
        if os.path.exists(source):
            expected[source].add(dotted)
        else:
            unmapped.add(dotted)
    found_all = set().union(*lqa.values()) if lqa else set()
    files = set(expected) | set(lqa)
    same_files = both = miss = extra = 0
    misses = []
    extras = []
    for f in sorted(files):
        a, b = lqa.get(f, set()), expected.get(f, set())
        if f not in expected:
            # A source file whose classes have no runtime class of their own
            # name (extra top-level classes): compared by name below.
            continue
        if a == b:
            same_files += 1
        both += len(a & b)
        miss += len(b - a)
        misses += [(f, n) for n in sorted(b - a)]
        lqa_only = (a - b) - unmapped
        extras += [(f, n) for n in sorted(lqa_only)]
        extra += len(lqa_only)
        if a - b and not lqa_only and a & b == b:
            same_files += 1  # the rest are extra top-level classes of the file
    unmapped_found = len(unmapped & found_all)
    print(f"runtime named classes and interfaces: {len(runtime)} (of which {len(unmapped)} without a source file of their own)")
    print(f"source files compared: {len(expected)}; identical sets: {same_files} ({100.0 * same_files / max(1, len(expected)):.2f}%)")
    print(f"per file: in both {both}, runtime only {miss}, lqa only {extra}")
    print(f"classes without a file of their own found by lqa elsewhere: {unmapped_found} of {len(unmapped)}")
    total = both + miss + len(unmapped)
    print(f"recall over all runtime classes: {100.0 * (both + unmapped_found) / max(1, total):.2f}%")
    kinds = collections.Counter()
    for f, n in misses:
        simple = n.rsplit(".", 1)[-1]
        try:
            text = open(f, errors="replace").read()
        except OSError:
            text = ""
        if re.search(r"\benum\s+" + re.escape(simple) + r"\b", text):
            kinds["enum"] += 1
        elif re.search(r"\brecord\s+" + re.escape(simple) + r"\b", text):
            kinds["record"] += 1
        elif re.search(r"@interface\s+" + re.escape(simple) + r"\b", text):
            kinds["annotation type"] += 1
        else:
            kinds["class or interface"] += 1
    print("runtime-only by declaration kind:", dict(kinds))
    for f, n in [m for m in misses if True][:15]:
        print("  miss", f, n)
    for f, n in extras[:15]:
        print("  extra", f, n)


if __name__ == "__main__":
    main()
