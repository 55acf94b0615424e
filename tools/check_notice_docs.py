#!/usr/bin/env python3
"""Checks the SARIF log and the GitLab Code Quality report that lqa writes.

  check_notice_docs.py --schema sarif-schema-2.1.0.json --sarif run.sarif \
      [--gitlab gl-code-quality-report.json] [--listing notices.txt] \
      [--count N] [--base DIR] [--file-rules ID,...]

The SARIF log is validated against the official schema (JSON Schema draft 4,
python3-jsonschema) and against what the schema cannot say: every ruleId
names a rule and ruleIndex points at it, fingerprints are unique, URIs hold
no backslash, blank, "./" or "..". The GitLab report is checked against the
fields GitLab reads. With --listing (the standard output of the same run with
-Ns or -Nv) every listed notice must have a result of the same file and rule,
at the same line for a notice raised on a line (notice 22 inside a macro
definition is counted but not listed); --count is the run's notice
count. Prints "ok" and exits with 0, or prints every problem and exits 1.
"""
import argparse
import collections
import json
import os
import re
import sys
import urllib.parse

HEX32 = re.compile(r"^[0-9a-f]{32}$")
GITLAB_SEVERITIES = {"info", "minor", "major", "critical", "blocker"}
GITLAB_CATEGORIES = {"Bug Risk", "Clarity", "Compatibility", "Complexity", "Duplication", "Performance",
                     "Security", "Style"}
# Notices about a whole function, type or file: their result anchors at the
# name's line (line 1 for a file), not at the line the listing shows.
MOVABLE_RULES = {2, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 27, 28, 29, 31, 37, 39, 40, 41, 42, 45, 46, 47,
                 48, 49, 51, 52, 53, 54}

problems = []


def problem(text):
    problems.append(text)


def load_json(path):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        problem(f"{path}: starts with a byte order mark")
    try:
        return json.loads(data.decode("utf-8"))
    except (UnicodeDecodeError, ValueError) as e:
        problem(f"{path}: not UTF-8 JSON: {e}")
        return None


def check_uri(uri, where):
    if "\\" in uri or " " in uri:
        problem(f"{where}: URI with a backslash or blank: {uri!r}")
    parts = urllib.parse.urlsplit(uri).path.split("/")
    if "." in parts or ".." in parts:
        problem(f"{where}: URI with a '.' or '..' step: {uri!r}")


def validate_schema(log, schema_path):
    try:
        import jsonschema
    except ImportError:
        problem("python3-jsonschema is not installed (tools/setup.sh installs it)")
        return
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft4Validator(schema, format_checker=jsonschema.FormatChecker())
    for error in sorted(validator.iter_errors(log), key=lambda e: list(e.path)):
        problem(f"schema: {'/'.join(map(str, error.path))}: {error.message}")


def decoded_path(uri, base_uri):
    """The file path a result names, as bytes; absolute URIs stay absolute."""
    if uri.startswith("file://"):
        return urllib.parse.unquote_to_bytes(uri[len("file://"):])
    return urllib.parse.unquote_to_bytes(uri)


def check_sarif(log):
    results = []
    if not isinstance(log, dict) or len(log.get("runs", [])) != 1:
        problem("sarif: not exactly one run")
        return results
    run = log["runs"][0]
    rules = run["tool"]["driver"].get("rules", [])
    ids = [r["id"] for r in rules]
    if len(set(ids)) != len(ids):
        problem("sarif: rule ids repeat")
    for r in rules:
        if not re.match(r"^LQAU?-?\d{3,}$", r["id"]):
            problem(f"sarif: rule id {r['id']!r} is not LQA and three digits")
    base = run.get("originalUriBaseIds", {}).get("SRCROOT", {}).get("uri", "")
    if not base.startswith("file:///") or not base.endswith("/"):
        problem(f"sarif: SRCROOT is not a file:// URI ending in '/': {base!r}")
    check_uri(base, "SRCROOT")
    seen = set()
    if "results" not in run:
        problem("sarif: no results array")
    for i, res in enumerate(run.get("results", [])):
        where = f"sarif result {i}"
        rid, index = res.get("ruleId"), res.get("ruleIndex")
        if rid not in ids:
            problem(f"{where}: ruleId {rid!r} names no rule")
        elif index is None or index >= len(ids) or ids[index] != rid:
            problem(f"{where}: ruleIndex {index} does not point at {rid}")
        if not res.get("message", {}).get("text"):
            problem(f"{where}: empty message")
        fp = res.get("partialFingerprints", {}).get("lqaNotice/v1", "")
        if not HEX32.match(fp):
            problem(f"{where}: fingerprint {fp!r} is not 32 lowercase hex digits")
        if fp in seen:
            problem(f"{where}: fingerprint {fp} repeats")
        seen.add(fp)
        path, line = None, None
        for loc in res.get("locations", []):
            phys = loc.get("physicalLocation")
            if phys:
                art = phys["artifactLocation"]
                uri = art["uri"]
                check_uri(uri, where)
                relative = not uri.startswith("file:")
                if relative != (art.get("uriBaseId") == "SRCROOT"):
                    problem(f"{where}: uriBaseId does not match the URI {uri!r}")
                path = decoded_path(uri, base)
                line = phys["region"]["startLine"]
        rule = rid[4:] if rid and rid.startswith("LQAU") else (rid[3:] if rid else "0")
        results.append({"rule": int(rule), "path": path, "line": line, "fingerprint": fp})
    return results


def check_gitlab(issues, sarif_results):
    if not isinstance(issues, list):
        problem("gitlab: not a JSON array")
        return
    seen = set()
    for i, issue in enumerate(issues):
        where = f"gitlab issue {i}"
        if issue.get("type") != "issue":
            problem(f"{where}: type is not 'issue'")
        for key in ("check_name", "description", "fingerprint"):
            if not isinstance(issue.get(key), str) or not issue[key]:
                problem(f"{where}: {key} missing or empty")
        cats = issue.get("categories")
        if not isinstance(cats, list) or not cats or not set(cats) <= GITLAB_CATEGORIES:
            problem(f"{where}: categories {cats!r}")
        if issue.get("severity") not in GITLAB_SEVERITIES:
            problem(f"{where}: severity {issue.get('severity')!r}")
        fp = issue.get("fingerprint", "")
        if fp in seen:
            problem(f"{where}: fingerprint repeats")
        seen.add(fp)
        loc = issue.get("location", {})
        path = loc.get("path")
        begin = loc.get("lines", {}).get("begin")
        if not isinstance(path, str) or not path or path.startswith("./") or ".." in path.split("/"):
            problem(f"{where}: location.path {path!r}")
        if not isinstance(begin, int) or begin < 1:
            problem(f"{where}: location.lines.begin {begin!r}")
    if sarif_results is not None:
        if len(issues) != len(sarif_results):
            problem(f"gitlab: {len(issues)} issues, sarif: {len(sarif_results)} results")
        for i, (issue, res) in enumerate(zip(issues, sarif_results)):
            if issue.get("fingerprint") != res["fingerprint"]:
                problem(f"gitlab issue {i}: fingerprint differs from the SARIF result's")
            if res["line"] is not None and issue.get("location", {}).get("lines", {}).get("begin") != res["line"]:
                problem(f"gitlab issue {i}: line differs from the SARIF result's")


LINE_VS = re.compile(rb"^(.*)\((\d+)\) : Notice #(\d+)\s*- ")
LINE_NS = re.compile(rb"^  Notice #\s*(\d+): Line\s+(\d+), ")
FILE_NS = re.compile(rb"^  File: (.*)$")
AFTER_LAST_FILE = {40, 41}


def listing_entries(path):
    entries = []
    current = b""
    with open(path, "rb") as f:
        for raw in f.read().split(b"\n"):
            m = LINE_VS.match(raw)
            if m:
                entries.append((m.group(1), int(m.group(3)), int(m.group(2))))
                continue
            m = FILE_NS.match(raw)
            if m:
                current = m.group(1)
                continue
            m = LINE_NS.match(raw)
            if m:
                rule = int(m.group(1))
                # The inheritance notices come after the last file: the -Ns
                # form does not say which file they belong to.
                entries.append((None if rule in AFTER_LAST_FILE else current, rule, int(m.group(2))))
    return entries


def located(name, base):
    real = os.path.realpath(os.path.join(base, name))
    root = os.path.realpath(base)
    if real.startswith(root + b"/"):
        return real[len(root) + 1:]
    return real


def check_listing(results, listing, base):
    base = os.fsencode(base)
    pending = collections.Counter()
    by_key = collections.defaultdict(list)
    for r in results:
        by_key[(r["path"], r["rule"])].append(r["line"])
    entries = [(None if name is None else located(name, base), rule, line)
               for name, rule, line in listing_entries(listing)]
    unmatched = []
    for path, rule, line in entries:
        if path is None:
            # Any file: the first result of the rule not yet matched.
            keys = [k for k in by_key if k[1] == rule and by_key[k]]
            if keys:
                by_key[keys[0]].pop(0)
            else:
                pending[(b"?", rule, line)] += 1
            continue
        lines = by_key.get((path, rule), [])
        if line in lines:
            lines.remove(line)
        else:
            unmatched.append((path, rule, line))
    for path, rule, line in unmatched:
        lines = by_key.get((path, rule), [])
        fits = [l for l in lines if l is not None and l <= max(line, 1)] if rule in MOVABLE_RULES else []
        if fits:
            lines.remove(max(fits))
        else:
            pending[(path, rule, line)] += 1
    for (path, rule, line), n in sorted(pending.items())[:20]:
        problem(f"listing: notice {rule} of {path!r} line {line} has no result")
    return len(entries)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--schema", required=True)
    ap.add_argument("--sarif")
    ap.add_argument("--gitlab")
    ap.add_argument("--listing")
    ap.add_argument("--count", type=int)
    ap.add_argument("--base", default=".")
    ap.add_argument("--file-rules", default="",
                    help="user defined notices evaluated at the end of a file (their results are on line 1)")
    args = ap.parse_args()
    MOVABLE_RULES.update(int(n) for n in args.file_rules.split(",") if n)
    results = None
    if args.sarif:
        log = load_json(args.sarif)
        if log is not None:
            validate_schema(log, args.schema)
            results = check_sarif(log)
    if args.gitlab:
        issues = load_json(args.gitlab)
        if issues is not None:
            check_gitlab(issues, results)
    if results is not None:
        if args.listing:
            listed = check_listing(results, args.listing, args.base)
            # Notice 22 inside a macro definition is counted but not listed:
            # results of it may outnumber the listing.
            unlisted = len(results) - listed
            unlisted_22 = sum(1 for r in results if r["rule"] == 22) - \
                sum(1 for e in listing_entries(args.listing) if e[1] == 22)
            if args.count is None and (unlisted < 0 or unlisted != unlisted_22):
                problem(f"listing: {listed} notices, {len(results)} results")
        if args.count is not None and args.count != len(results):
            problem(f"count: the run counted {args.count} notices, the log holds {len(results)} results")
    for p in problems[:50]:
        print(p)
    if len(problems) > 50:
        print(f"... {len(problems) - 50} more")
    if problems:
        return 1
    print(f"ok: {len(results) if results is not None else 0} results")
    return 0


if __name__ == "__main__":
    sys.exit(main())
