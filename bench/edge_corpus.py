#!/usr/bin/env python3
"""Writes a small corpus of awkward source files into the given directory:
line ends and NUL bytes, lines at and beyond the line buffer, byte order
marks, a last line without a line feed, binary data, and code that opens
more than it closes. bench/compare_outputs.sh runs both binaries on it."""
import os
import random
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
rng = random.Random(28)
body = (b"/* header */\n#include <x.h>\n#define MAX(a, b) ((a) > (b) ? (a) : (b))\n"
        b"struct s { int a; };\nstatic int f(int x)\n{\n\tif (x == 1)\n\t\treturn 2;\n"
        b"\tfor (;;) { x++; }\n\treturn x; // done\n}\n")
files = {
    "empty.c": b"",
    "only_newline.c": b"\n",
    "no_final_newline.c": body + b"int last = 1;",
    "control_last_line.c": body + b"\x01int x;",
    "crlf.c": body.replace(b"\n", b"\r\n"),
    "cr_only.c": body.replace(b"\n", b"\r"),
    "bom.c": b"\xef\xbb\xbf" + body,
    "high_prefix.c": b"\xff\xfe\xfd" * 700 + b"\n" + body,
    "nul_bytes.c": body.replace(b"return x;", b"ret\x00urn x;") + b"\x00\x00\n",
    "line_2046.c": b"int a" + b"b" * 2038 + b";\n" + body,
    "line_2047.c": b"int a" + b"b" * 2039 + b";\n" + body,
    "line_2048.c": b"int a" + b"b" * 2040 + b";\n" + body,
    "line_5000.c": b"int a" + b"b" * 4993 + b";\n" + body,
    "long_no_newline.c": b"x" * 2047,
    "unbalanced.c": b"int f() {\n if (a) {\n  b();\n}\n)\n}}\n/* open comment\n",
    "string_continued.c": b"char *s = \"abc\\\ndef\";\n#define L(x) \\\n  x + 1\n",
    "binary.c": bytes(rng.randrange(256) for _ in range(20000)),
    "tabs.h": b"\tstruct\tt\t{\n\t\tint\ta;\n\t};\n" * 50,
    "Klass.java": b"package a.b;\npublic class Klass extends Base implements I {\n  public int x;\n"
                  b"  public void m(int a) { if (a > 0) { return; } }\n}\n",
    "prog.cs": b"namespace N {\n  [Attr(1)]\n  public class C<T> where T : new()\n  {\n"
               b"    public int P { get; set; }\n    void M() { var s = @\"\\\"; }\n  }\n}\n",
    "cls.cpp": b"template <class T>\nclass A : public B, private C {\npublic:\n  virtual ~A();\n"
               b"  int f(int a) const { return a ? 1 : 2; }\n};\nnamespace n { int g() { return 0; } }\n",
}
for name, data in files.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
