#!/usr/bin/env python3
"""Writes docs/commands.md, the command reference, from corvane.h.

Every command declared between a section banner ("// ---- gfx: ... ----") and its end
("// ---- end gfx ----") is listed with its result, its arguments and its meaning. The meaning
is the command's trailing comment, else the comment right above it, else (for an overload) the
meaning of the command of the same name before it; a command with none is an error, so the
header documents every command. Longer comments stand as notes before the commands they
precede. The KEY_ constants become a table of their own.

  commands_reference.py [ROOT]          write ROOT/docs/commands.md
  commands_reference.py --check [ROOT]  fail when docs/commands.md is not what ROOT/corvane.h gives
  commands_reference.py --self-test     check that a new or undocumented command is reported
"""
import os
import re
import sys

BANNER = re.compile(r"^// ---- (?!end )(\w+): (.*?) ----$")
BANNER_END = re.compile(r"^// ---- end (\w+) ----$")
KEY = re.compile(r"\bKEY_(\w+) = (\d+)")
# result, name, arguments; the pointer-returning form "void (*Name(args))();" as well
FUNCTION = re.compile(r"^(\[\[noreturn\]\]\s*)?(?P<result>[\w:<>&* ]+?)\s*\b(?P<name>[A-Z]\w*)\((?P<args>.*)\);$")
POINTER_FUNCTION = re.compile(r"^(?P<result>\w+) \(\*(?P<name>[A-Z]\w*)\((?P<args>.*)\)\)\((?P<pargs>.*)\);$")


class Problem(Exception):
    pass


def statements(lines):
    """Yields (kind, text, trailing comment) per statement or comment line, joining
    declarations that span lines and skipping template bodies."""
    i = 0
    while i < len(lines):
        line = lines[i].rstrip()
        s = line.strip()
        i += 1
        if not s:
            yield ("blank", "", "")
        elif s.startswith("//"):
            yield ("comment", s[2:].strip(), "")
        elif s.startswith("#"):
            yield ("other", "", "")
        elif s.startswith("inline constexpr"):
            # the key constants, read separately
            while not s.endswith(";") and i < len(lines):
                s = lines[i].strip()
                i += 1
            yield ("other", "", "")
        elif s.startswith("template"):
            depth = 0
            seen = False
            while i < len(lines):
                body = lines[i]
                i += 1
                depth += body.count("{") - body.count("}")
                seen = seen or "{" in body
                if seen and depth <= 0:
                    break
            yield ("other", "", "")
        else:
            text = s
            while not re.search(r";\s*(//.*)?$", text) and i < len(lines):
                text += " " + lines[i].strip()
                i += 1
            code, _, trailing = text.partition("//")
            yield ("decl", " ".join(code.split()), trailing.strip())


def parse(header_text):
    sections = []  # (name, title, items); items: ("note", text) or ("cmd", result, name, args, meaning)
    current = None
    keys = [(m.group(1), int(m.group(2))) for m in KEY.finditer(header_text)]
    comment = []
    in_files = False
    last_name, last_meaning = None, None
    for kind, text, trailing in statements(header_text.splitlines()):
        if kind == "comment":
            m = BANNER.match("// " + text)
            e = BANNER_END.match("// " + text)
            if m:
                current = (m.group(1), m.group(2), [])
                sections.append(current)
                comment = []
                in_files = False
                continue
            # the banner's list of files, "(gfx/a.cpp, b.cpp,\n// c.cpp)", right under it
            if current is not None and not current[2] and not comment and text.startswith("("):
                in_files = not text.endswith(")")
                current[2].append(("files", text.strip("()")))
                continue
            if current is not None and in_files:
                in_files = not text.endswith(")")
                current[2][-1] = ("files", current[2][-1][1] + " " + text.strip("()"))
                continue
            if e:
                current = None
                comment = []
                continue
            comment.append(text)
            continue
        if kind != "decl" or current is None:
            if comment and current is not None and kind == "blank":
                current[2].append(("note", " ".join(comment)))
            comment = []
            continue
        m = FUNCTION.match(text)
        p = POINTER_FUNCTION.match(text)
        if p:
            result = f"{p.group('result')} (*)({p.group('pargs')})"
            name, args = p.group("name"), p.group("args")
        elif m:
            result = m.group("result").strip()
            name, args = m.group("name"), m.group("args")
            if m.group(1):
                result = "[[noreturn]] " + result
        else:
            raise Problem(f"cannot read the declaration: {text}")
        meaning = trailing
        note = comment
        if not meaning and 0 < len(comment) <= 3:
            meaning, note = " ".join(comment), []
        if not meaning and name == last_name:
            meaning = last_meaning
        if note:
            current[2].append(("note", " ".join(note)))
        comment = []
        if not meaning:
            raise Problem(f"{name}: no meaning (a comment beside or right above it)")
        current[2].append(("cmd", result, name, args, meaning))
        last_name, last_meaning = name, meaning
    return sections, keys


def escape(text):
    return text.replace("|", "\\|")


def render(sections, keys):
    out = ["# Command reference", "",
           "Generated from `corvane.h` by `scripts/commands_reference.py`; the test suite fails",
           "when the two differ. Numbers are doubles and text is `RtString` unless a signature says",
           "otherwise; `&` marks a value the command writes back.", ""]
    count = sum(1 for _, _, items in sections for i in items if i[0] == "cmd")
    out.append(f"{count} declarations in {len(sections)} sections.")
    out.append("")
    for name, title, items in sections:
        out.append(f"## {name}: {title}")
        out.append("")
        table_open = False
        for item in items:
            if item[0] == "files":
                out.append(f"Defined in {item[1]}.")
                out.append("")
                continue
            if item[0] == "note":
                if table_open:
                    out.append("")
                    table_open = False
                out.append(item[1])
                out.append("")
                continue
            _, result, cmd, args, meaning = item
            if not table_open:
                out.append("| command | arguments | result | meaning |")
                out.append("| --- | --- | --- | --- |")
                table_open = True
            out.append(f"| `{cmd}` | {('`' + escape(args) + '`') if args else '—'} | "
                       f"`{escape(result)}` | {escape(meaning)} |")
        out.append("")
    if keys:
        out.append("## Key numbers")
        out.append("")
        out.append("`KeyGet` takes these numbers (PC scan codes, extended keys at 128 + code).")
        out.append("")
        out.append("| constant | number | constant | number | constant | number |")
        out.append("| --- | --- | --- | --- | --- | --- |")
        rows = [keys[i:i + 3] for i in range(0, len(keys), 3)]
        for row in rows:
            cells = [f"`KEY_{n}` | {v}" for n, v in row] + ["|"] * (3 - len(row))
            out.append("| " + " | ".join(cells) + " |")
        out.append("")
    return "\n".join(out)


def self_test():
    import tempfile
    with tempfile.TemporaryDirectory() as root:
        os.mkdir(os.path.join(root, "docs"))
        header = os.path.join(root, "corvane.h")

        def put(text):
            with open(header, "w", encoding="utf-8") as f:
                f.write("// ---- gfx: drawing ----\n" + text + "// ---- end gfx ----\n")

        put("void RectDraw(double x, double y);  // a rectangle\n")
        ok = main([root]) == 0 and main(["--check", root]) == 0
        put("void RectDraw(double x, double y);  // a rectangle\n"
            "// A line.\nvoid LineDraw(double x, double y);\n")
        stale = main(["--check", root]) == 1
        put("void RectDraw(double x, double y);  // a rectangle\nvoid PixelSet(double x);\n")
        undocumented = main([root]) == 1
    print(f"in step: {ok}, stale reference reported: {stale}, "
          f"undocumented command reported: {undocumented}")
    return 0 if ok and stale and undocumented else 1


def main(argv):
    if "--self-test" in argv:
        return self_test()
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    header = open(os.path.join(root, "corvane.h"), encoding="utf-8").read()
    try:
        text = render(*parse(header))
    except Problem as p:
        print(f"corvane.h: {p}")
        return 1
    target = os.path.join(root, "docs", "commands.md")
    if check:
        current = open(target, encoding="utf-8").read() if os.path.exists(target) else ""
        if current != text:
            print("docs/commands.md does not match corvane.h: run scripts/commands_reference.py")
            return 1
        print("docs/commands.md matches corvane.h")
        return 0
    with open(target, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
