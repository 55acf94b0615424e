#!/usr/bin/env python3
"""Reference for lqa's JSON report: converts an XML report of lqa with the
mapping rules written out plainly (a tree, not a stream) and compares the
result with the JSON report of the same run.

    json_reference.py REPORT.xml REPORT.json [XML JSON ...]  # convert and compare
    json_reference.py --strict REPORT.json                  # only the strictness checks

The JSON must be strict: no NaN or infinities, no key twice in one object,
"format_version" first, "kind" first in every listing entry. The run date and the command line
(lqadoc.date, lqadoc.command) are left out of the comparison: the two runs
differ in them.
Exit status 0 when all holds; the first difference is printed otherwise.
"""
import json
import re
import sys
import xml.etree.ElementTree as ET

REPEATABLE = {
    ("lqadoc", "file"), ("lqadoc", "report"), ("lqadoc", "banner"),
    ("file", "report"), ("report", "file"), ("report", "language"), ("report", "note"),
    ("report", "code_differential"), ("inheritance_tree", "class"),
    ("parents_not_found_tree", "lost_child_node"), ("project_directory_summary", "directory"),
    ("code_differential", "line"), ("glossary", "term"), ("listing_glossary", "term"),
    ("Elapsed_Time", "value"), ("Elapsed_Time", "units"),
}
for state in ("new", "removed", "modified_by_size", "differential_by_code", "equal"):
    REPEATABLE.add(("file_differentials", state))
MEMBER_FORMS = {"data_public", "data_protected", "data_private", "method_public", "method_protected",
                "method_private"}
REPEATABLE_ANYWHERE = {"notice", "UDQN_include_file", "warning"} | MEMBER_FORMS
ENTRIES = {"function", "class", "struct", "nested_class", "nested_struct", "interface", "nested_interface",
           "namespace_package"}
TEXT = {"program", "version", "date", "command", "config_file", "title", "name", "file", "template",
        "inheritance", "description", "sort_mode", "sort_direction", "extension", "note", "udqn_file",
        "udqn_include_file", "banner", "diff_config_file", "units", "dhms", "term", "warning", "equivalent"}
NUMBER = re.compile(r"-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?")
NOT_FINITE = re.compile(r"[+-]?(nan|inf|infinity)", re.IGNORECASE)


class Number(float):
    """A number kept with its text, so that 5.00 compares as written."""
    def __new__(cls, text):
        value = float.__new__(cls, text)
        value.text = text
        return value

    def __eq__(self, other):
        return isinstance(other, Number) and self.text == other.text

    def __hash__(self):
        return hash(self.text)

    def __repr__(self):
        return self.text


def always_text(parent, key):
    if key == "parameters":
        return parent == "function"
    if key == "parent":
        return parent == "lost_child_node"
    if key == "line":
        return parent in MEMBER_FORMS
    return key in TEXT


def leaf(parent, key, text):
    if not always_text(parent, key):
        stripped = text.strip(" \t\r\n")
        if NUMBER.fullmatch(stripped):
            return Number(stripped)
        if NOT_FINITE.fullmatch(stripped):
            return None
    return text


def text_lines(element):
    runs = [element.text or ""] + [child.tail or "" for child in element]
    return [line for run in runs for line in run.split("\n") if line.strip(" \t\r\n")]


def convert(element, parent, key):
    """The JSON value of an element whose member name is key."""
    children = list(element)
    entry = parent == "report" and element.tag in ENTRIES
    if not children:
        return {"kind": element.tag} if entry else leaf(parent, key, element.text or "")
    out = {"kind": element.tag} if entry else {}
    parameters = 0
    for child in children:
        name = "udqn_include_file" if child.tag == "UDQN_include_file" else child.tag
        if element.tag == "function" and child.tag == "parameters":
            if parameters:
                name = "parameter_count"
            parameters += 1
        value = convert(child, element.tag, name)
        if element.tag == "report" and child.tag in ENTRIES:
            out.setdefault("entries", []).append(value)
        elif (element.tag, child.tag) in REPEATABLE or child.tag in REPEATABLE_ANYWHERE:
            out.setdefault(name, []).append(value)
        elif name in out:
            raise ValueError("<%s> twice in <%s> and not repeatable" % (child.tag, element.tag))
        else:
            out[name] = value
    lines = text_lines(element)
    if lines:
        out["text"] = lines
    return out


def reference(xml_path):
    with open(xml_path, "rb") as f:
        data = f.read()
    # Messages written after the document are not part of it.
    end = data.rfind(b"</lqadoc>")
    root = ET.fromstring(data[: end + len(b"</lqadoc>")])
    return {"format_version": Number("1"), root.tag: convert(root, "", root.tag)}


def strict_pairs(pairs):
    keys = [k for k, _ in pairs]
    if len(keys) != len(set(keys)):
        raise ValueError("a key twice in one object: %s" % sorted(k for k in keys if keys.count(k) > 1))
    if "kind" in keys and keys[0] != "kind":
        raise ValueError("kind is not the first member")
    return dict(pairs)


def reject_constant(name):
    raise ValueError("not JSON: " + name)


def load_strict(json_path):
    with open(json_path, "rb") as f:
        text = f.read().decode("utf-8")
    doc = json.loads(text, object_pairs_hook=strict_pairs, parse_constant=reject_constant,
                     parse_float=Number, parse_int=Number)
    if not text.startswith('{\n  "format_version": 1,\n'):
        raise ValueError("format_version is not the first member")
    version = doc.get("lqadoc", {}).get("version")
    if version is not None and not isinstance(version, str):
        raise ValueError("lqadoc.version is not a string")
    return doc


def first_difference(a, b, path="$"):
    if isinstance(a, dict) and isinstance(b, dict):
        for k in list(a) + [k for k in b if k not in a]:
            if k not in a or k not in b:
                return "%s.%s: only in %s" % (path, k, "the reference" if k in a else "the JSON report")
            d = first_difference(a[k], b[k], path + "." + k)
            if d:
                return d
        return None
    if isinstance(a, list) and isinstance(b, list):
        for i, (x, y) in enumerate(zip(a, b)):
            d = first_difference(x, y, "%s[%d]" % (path, i))
            if d:
                return d
        if len(a) != len(b):
            return "%s: %d elements in the reference, %d in the JSON report" % (path, len(a), len(b))
        return None
    if type(a) is not type(b) or a != b:
        return "%s: reference %r, JSON report %r" % (path, a, b)
    return None


def main(argv):
    if len(argv) == 3 and argv[1] == "--strict":
        try:
            load_strict(argv[2])
            return 0
        except (ValueError, UnicodeDecodeError) as e:
            print("%s: %s" % (argv[2], e))
            return 1
    if len(argv) < 3 or len(argv) % 2 == 0:
        print(__doc__)
        return 2
    status = 0
    for xml_path, json_path in zip(argv[1::2], argv[2::2]):
        try:
            expected = reference(xml_path)
            actual = load_strict(json_path)
            for doc in (expected, actual):
                doc.get("lqadoc", {}).pop("date", None)
                doc.get("lqadoc", {}).pop("command", None)
            d = first_difference(expected, actual)
        except (ValueError, ET.ParseError, UnicodeDecodeError) as e:
            d = str(e)
        if d:
            print("%s: %s" % (json_path, d))
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
