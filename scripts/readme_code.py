#!/usr/bin/env python3
"""Compiles every C++ block of README.md (fenced as ```cpp) against corvane.h, so the README
never shows code that does not build. Each block is a whole game file. A block that looks like
C++ but is not fenced as cpp is reported too, so no example escapes the check.

  readme_code.py [ROOT]   exit 1 when a block does not compile
"""
import os
import re
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^```(\w*)\n(.*?)^```", re.M | re.S)


def main(argv):
    root = argv[0] if argv else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    text = open(os.path.join(root, "README.md"), encoding="utf-8").read()
    blocks = FENCE.findall(text)
    problems = []
    cpp = [body for lang, body in blocks if lang == "cpp"]
    for lang, body in blocks:
        if lang != "cpp" and re.search(r"#include|GameMain\(\)\s*\{", body):
            problems.append(f"a ```{lang} block holds C++: fence it as ```cpp")
    outside = FENCE.sub("", text)
    if re.search(r"^( {4}|\t)#include", outside, re.M):
        problems.append("an indented block holds C++: fence it as ```cpp")
    compiler = os.environ.get("CXX", "c++")
    with tempfile.TemporaryDirectory() as tmp:
        for i, body in enumerate(cpp):
            path = os.path.join(tmp, f"readme_{i}.cpp")
            with open(path, "w", encoding="utf-8") as f:
                f.write(body)
            r = subprocess.run([compiler, "-std=c++20", "-fsyntax-only", "-Wall", "-Wextra",
                                "-Werror", "-I", root, path], capture_output=True, text=True)
            if r.returncode != 0:
                problems.append(f"README block {i + 1} does not compile:\n{r.stderr}")
    for p in problems:
        print(p)
    print(f"{len(cpp)} C++ block(s) in README.md, {len(problems)} problem(s)")
    return 1 if problems or not cpp else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
