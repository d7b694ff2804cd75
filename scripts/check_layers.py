#!/usr/bin/env python3
"""Fails when a file includes a module it may not call, declares a weak symbol, or opens a
file with fopen outside platform/.

A module's allowed modules are what its <module>/CMakeLists.txt names after DEPENDS in
corvane_module(...), followed transitively. corvane.h (command declarations only) may be
included by every module and itself includes core/ only. game/ and examples/ include
corvane.h only; tools/ may include any module but frame/. Tests and benchmarks are free.

  check_layers.py [ROOT]      check the tree (default: the repository holding this script)
  check_layers.py --self-test check that a planted upward include is reported
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
WEAK = re.compile(r'__attribute__\s*\(\(\s*weak|#\s*pragma\s+weak')
FOPEN = re.compile(r'\bfopen\s*\(')
MODULE = re.compile(r'corvane_module\(\s*(\w+)([^)]*)\)', re.S)


def module_deps(root):
    deps = {}
    for name in sorted(os.listdir(root)):
        cm = os.path.join(root, name, "CMakeLists.txt")
        if not os.path.isfile(cm):
            continue
        m = MODULE.search(open(cm, encoding="utf-8").read())
        if not m:
            continue
        words = m.group(2).split()
        listed = []
        if "DEPENDS" in words:
            for w in words[words.index("DEPENDS") + 1:]:
                if w.isupper() and w.isalpha():  # the next keyword (LIBS)
                    break
                listed.append(w)
        deps[m.group(1)] = listed
    return deps


def closure(deps):
    allowed = {}

    def walk(m, seen):
        for d in deps.get(m, []):
            if d.startswith("${"):
                # frame takes every module: its line is built in the top CMakeLists.txt.
                seen.update(k for k in deps if k != m)
            elif d not in seen:
                seen.add(d)
                walk(d, seen)
        return seen

    for m in deps:
        allowed[m] = walk(m, set())
    return allowed


def sources(folder):
    for dirpath, _, names in os.walk(folder):
        for n in names:
            if n.endswith((".cpp", ".h")):
                yield os.path.join(dirpath, n)


def check(root):
    deps = module_deps(root)
    allowed = closure(deps)
    problems = []

    def scan(path, rule):
        text = open(path, encoding="utf-8", errors="replace").read()
        for inc in INCLUDE.findall(text):
            top = inc.split("/")[0] if "/" in inc else None
            msg = rule(inc, top)
            if msg:
                problems.append(f"{os.path.relpath(path, root)}: includes \"{inc}\": {msg}")

    for m in deps:
        def rule(inc, top, m=m):
            if inc == "corvane.h" or top is None or top == m:
                return None
            if top in deps and top not in allowed[m]:
                return f"{m} may not call {top} (allowed: {', '.join(sorted(allowed[m])) or 'none'})"
            return None
        for f in sources(os.path.join(root, m)):
            scan(f, rule)

    header = os.path.join(root, "corvane.h")
    if os.path.isfile(header):
        scan(header, lambda inc, top: None if top == "core" else "corvane.h includes core/ only")
    for folder in ("game", "examples"):
        for f in sources(os.path.join(root, folder)):
            scan(f, lambda inc, top: None if inc == "corvane.h" or top == folder
                 else "a game program includes corvane.h only")
    for f in sources(os.path.join(root, "tools")):
        scan(f, lambda inc, top: "a tool has its own main and never calls frame"
             if top == "frame" else None)
    for folder in sorted(os.listdir(root)):
        if folder.startswith(".") or folder.startswith("build") or not os.path.isdir(
                os.path.join(root, folder)):
            continue
        for f in sources(os.path.join(root, folder)):
            text = open(f, encoding="utf-8", errors="replace").read()
            rel = os.path.relpath(f, root)
            if WEAK.search(text):
                problems.append(f"{rel}: a weak symbol (register the call at start-up instead)")
            if folder != "platform" and FOPEN.search(text):
                problems.append(f"{rel}: fopen outside platform/ (use platform/files.h)")
    return deps, problems


def self_test():
    with tempfile.TemporaryDirectory() as root:
        def put(path, text):
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            open(full, "w").write(text)
        put("core/CMakeLists.txt", "corvane_module(core)\n")
        put("gfx/CMakeLists.txt", "corvane_module(gfx DEPENDS core LIBS PNG::PNG)\n")
        put("input/CMakeLists.txt", "corvane_module(input DEPENDS gfx)\n")
        put("core/a.cpp", '#include "core/a.h"\n#include "corvane.h"\n')
        put("gfx/b.cpp", '#include "core/a.h"\n')
        put("input/c.cpp", '#include "core/a.h"\n#include "gfx/b.h"\n')
        _, clean = check(root)
        put("gfx/d.cpp", '#include "input/c.h"\n')
        put("core/e.h", '  #  include "gfx/b.h"\n')
        put("gfx/f.cpp", '__attribute__((weak)) void F() {}\n')
        put("tests/g.cpp", 'FILE* f = std::fopen("x", "rb");\n')
        put("platform/h.cpp", 'FILE* f = std::fopen("x", "rb");\n')
        _, planted = check(root)
    expected = [("gfx/d.cpp", "gfx may not call input"), ("core/e.h", "core may not call gfx"),
                ("gfx/f.cpp", "weak symbol"), ("tests/g.cpp", "fopen outside platform")]
    ok = not clean and len(planted) == len(expected) and all(
        any(f in p and why in p for p in planted) for f, why in expected)
    print("self-test", "passed" if ok else f"FAILED: clean={clean} planted={planted}")
    return 0 if ok else 1


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--self-test":
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))
    deps, problems = check(root)
    for p in problems:
        print(p)
    if not deps:
        print("no module found under", root)
        return 1
    print(f"{len(problems)} upward include(s) in {len(deps)} modules")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
