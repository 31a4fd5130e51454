#!/usr/bin/env python3
"""Checks what README.md and docs/*.md name against the tree, and that
`corvane --help` lists the manual page's options and its own Qt's theme plugin.

docs_check.py SOURCE_DIR CORVANE INSTALL_DIR PACKAGE VERSION"""
import glob, os, re, subprocess, sys

src, corvane, installed, package, version = sys.argv[1:6]
os.chdir(src)
read = lambda path: open(path, encoding="utf-8").read()
sources = {}  # every file but the docs, the text that names may be found in
for root, dirs, files in os.walk("."):
    dirs[:] = [d for d in dirs if not d.startswith((".git", "build"))]
    for f in files:
        path = os.path.normpath(os.path.join(root, f))
        if not path.endswith((".md", ".png", "docs_check.py")) and "corpus" not in path:
            sources[path] = open(path, encoding="utf-8", errors="replace").read()
everything = "\n".join(sources.values())
scripts = "\n".join(t for p, t in sources.items() if p.startswith("scripts/"))
cmake = sources["tests/CMakeLists.txt"] + sources["bench/CMakeLists.txt"]
tests = set(re.findall(r"add_test\(NAME (\w+)", cmake))
for name, seeds in re.findall(r"corvane_test\((\w+)([^)]*)\)", cmake):
    seeds = seeds.split()[1:] if "SEEDS" in seeds else []
    tests |= {f"{name}_seed{s}" for s in seeds} if seeds else {name}
programs = set(re.findall(r"(?:add_executable|corvane_test)\((\w+)", everything)) | tests
basenames = {os.path.basename(p) for p in sources}
arch = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True).stdout.strip()
word = lambda w, text: re.search(rf"(?<![\w-]){re.escape(w)}(?![\w-])", text)
errors = []


def check_path(p, doc):
    p = re.sub(r"<[^>]*>", "*", p.rstrip("/").removeprefix("./"))
    head = p.split("/")[0]
    if p.startswith("/usr/") or head in ("share", "bin"):  # installed
        ok = glob.glob(os.path.join(installed, re.sub(r"corvane-qt[56]", package, p.removeprefix("/usr/"))))
    elif p.endswith(".deb"):
        m = re.fullmatch(r"build-package(-qt6)?/corvane-qt([56])_(.*)_(.*)\.deb", p)
        ok = m and (m[1] is not None) == (m[2] == "6") and m.group(3, 4) == (version, arch)
    elif head.startswith("build"):  # made by a script
        name = os.path.basename(p)
        ok = word(head, scripts) and (p == head or "*" in name or name in programs or word(name, scripts))
    elif p.startswith("/"):
        ok = word(p, everything)
    else:
        ok = any(glob.glob(os.path.join(d, p)) for d in (".", "src", os.path.dirname(doc))) or p in basenames
    return ok


def check_words(words, doc):
    for i, w in enumerate(words):
        w = w.strip("\"'(),;:«»").rstrip(".").split("=")[0]
        path_like = "/" in w or re.search(r"\.(sh|py|cpp|h|md|ui|cmake|supp|png|desktop|xml|deb|gz|svg|1)$", w)
        if not w or w.startswith("-") or "::" in w or "://" in w or re.fullmatch(r"\.\w+", w):
            continue
        if path_like:
            if not check_path(w, doc):
                errors.append(f"{doc}: no such file: {w}")
        elif w.startswith("tst_") or w in tests:
            if w not in programs:
                errors.append(f"{doc}: no such test: {w}")
        elif re.fullmatch(r"[a-z]+_\w+|[a-z]+[A-Z]\w*|(CORVANE|FUZZ)_[A-Z0-9_]+", w) and not word(w, everything):
            errors.append(f"{doc}: named nowhere in the tree: {w}")
        source, function = f"tests/{os.path.basename(w)}.cpp", words[i + 1] if i + 1 < len(words) else ""
        if os.path.exists(source) and re.fullmatch(r"[a-z]+[A-Z]\w*", function) and \
                not re.search(rf"void {function}\(\)", read(source)):
            errors.append(f"{doc}: {w} has no test function {function}")


for doc in ["README.md"] + sorted(glob.glob("docs/*.md")):
    text = read(doc)
    for target in re.findall(r"\]\(([^)#]+)\)", text):
        if "://" not in target and not os.path.exists(os.path.join(os.path.dirname(doc), target)):
            errors.append(f"{doc}: broken link: {target}")
    for block in re.findall(r"```sh\n(.*?)```", text, re.S):
        for line in block.splitlines():
            check_words(line.split("#")[0].split(), doc)
    for span in re.findall(r"(?<!`)`([^`\n]+)`(?!`)", re.sub(r"```.*?```", "", text, flags=re.S)):
        check_words(span.split(), doc)

# The options of --help against the manual page's OPTIONS section.
options = lambda text: set(re.findall(r"(?<![\w-])(--?[a-z][\w-]*)", text))
shown = subprocess.run([corvane, "--help"], capture_output=True, text=True, check=True).stdout
helped = options("\n".join(l.split("  ")[1] for l in shown.splitlines() if l.startswith("  -")))
man = read("package/corvane.1").replace("\\-", "-").split(".SH OPTIONS")[1].split(".SH")[0]
manned = options("\n".join(l for l in man.splitlines() if l.startswith(".B")))
qt = re.search(r"\(Qt (\d+)", subprocess.run([corvane, "--version"], capture_output=True, text=True).stdout)[1]
for theme in set(re.findall(r"qt\dct", shown)) - {f"qt{qt}ct"}:
    errors.append(f"--help of the Qt {qt} build suggests {theme}")
if helped != manned:
    errors.append(f"--help and corvane.1 differ: only in --help {sorted(helped - manned)}, "
                  f"only in corvane.1 {sorted(manned - helped)}")

# The README's layers: a folder of src/ includes only its own and those below it.
layers = ["app", "mainwindow", "desktop", "accessibility", "form", "storage"]
for path, text in sources.items():
    if path.startswith("src/") and path.count("/") == 2 and path.split("/")[1] in layers:
        for up in re.findall(r'#include "(\w+)/', text):
            if up in layers and layers.index(up) < layers.index(path.split("/")[1]):
                errors.append(f"{path} includes {up}/, a layer above its own")

# Every workaround tagged in the code is listed in docs/workarounds.md, and the reverse.
code = "\n".join(t for p, t in sources.items() if p.startswith("src/"))
tagged = set(re.findall(r"WORKAROUND\(([\w-]+)\)", code))
listed = set(re.findall(r"^\| `([\w-]+)` \|", read("docs/workarounds.md"), re.M)) \
    if os.path.exists("docs/workarounds.md") else set()
if tagged != listed:
    errors.append(f"workarounds only in the code {sorted(tagged - listed)}, only in docs {sorted(listed - tagged)}")

print("\n".join(dict.fromkeys(errors)) or "The docs name only what exists; --help and corvane.1 agree.")
sys.exit(1 if errors else 0)
