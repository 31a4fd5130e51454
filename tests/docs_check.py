#!/usr/bin/env python3
"""Checks README.md and docs/*.md against the tree (names, paths, tests, the form's accessible
names, the first paint's figures, the workarounds' tags and fences), the manual page against the
program (options, environment) and the scripts' usage lines against their code.

docs_check.py SOURCE_DIR CORVANE INSTALL_DIR PACKAGE VERSION"""
import glob, os, re, subprocess, sys, time
from xml.etree import ElementTree

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
        if re.fullmatch(r"(?!Q[A-Zt])[A-Z]\w+::\w+", w) and not all(word(x, everything) for x in w.split("::")):
            errors.append(f"{doc}: named nowhere in the tree: {w}")
        path_like = "/" in w or re.search(r"\.(sh|py|cpp|h|md|ui|cmake|supp|png|desktop|xml|deb|gz|svg|1)$", w)
        if not w or w.startswith("-") or "::" in w or "://" in w or re.fullmatch(r"\.\w+", w):
            continue
        if path_like:
            if not check_path(w, doc):
                errors.append(f"{doc}: no such file: {w}")
        elif w.startswith("tst_") or w in tests:
            if w not in programs:
                errors.append(f"{doc}: no such test: {w}")
        elif re.fullmatch(r"[a-z]+_\w+|[a-z]+[A-Z]\w*|(?!Q[A-Zt])[A-Z][a-z]+[A-Z]\w*|(CORVANE|FUZZ)_[A-Z0-9_]+", w) \
                and not word(w, everything):
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

# What a screen reader is said to read: a form widget of that role with that accessible name.
roles = {"text": "QLineEdit", "read only text": "QLCDNumber", "combo box": "QComboBox",
         "page tab": "QWidget", "panel": "QGroupBox", "radio button": "QRadioButton", "push button": "QPushButton"}
ui = ElementTree.parse("src/form/transceiver_master.ui").getroot()
label = {w.findtext("property[@name='buddy']/cstring"): w.findtext("property[@name='text']/string")
         for w in ui.iter("widget")}
names = {(w.get("class"), (w.findtext("property[@name='accessibleName']/string") or label.get(w.get("name")) or
                           w.findtext("attribute[@name='title']/string") or
                           w.findtext("property[@name='text']/string") or "").replace("&", "")) for w in ui.iter("widget")}
for doc in glob.glob("docs/*.md"):
    for name, role in re.findall(rf"«([^«».]+?)\.? (?:selected )?({'|'.join(roles)})\b", read(doc)):
        if (roles[role], name) not in names:
            errors.append(f"{doc}: no {roles[role]} of the form is named «{name}»")

# A bound on the first paint holds for every figure of benchmark.md's tables.
paints = [float(row.split("|")[head.split("|").index(" first paint ms ")]) for head, rows_ in
          re.findall(r"^(\|.* first paint ms .*)\n\|[-|]+\n((?:\|.*\n)+)", read("docs/benchmark.md"), re.M)
          for row in rows_.splitlines()]
for path, text in [(p, sources.get(p) or read(p)) for p in glob.glob("docs/*.md") + glob.glob("bench/*")]:
    for bound in re.findall(r"under\s+(\d+)\s+ms", text):
        if max(paints, default=0) >= float(bound):
            errors.append(f"{path}: first paint under {bound} ms, but benchmark.md has {max(paints)} ms")

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
layers = ["app", "mainwindow", "desktop", "accessibility", "form", "storage", "input"]
for path, text in sources.items():
    if path.startswith("src/") and path.count("/") == 2 and path.split("/")[1] in layers:
        for up in re.findall(r'#include "(\w+)/', text):
            if up in layers and layers.index(up) < layers.index(path.split("/")[1]):
                errors.append(f"{path} includes {up}/, a layer above its own")

# Each WORKAROUND tag in src/ and bench/ has a row in docs/workarounds.md, and each row a tag;
# a row names the QT_VERSION fences around its tags; a comment naming Orca, or claiming of Qt what it
# would, can, never or only does, or does in a clause with a limit (not, no, without, before, after,
# until, away: "Qt draws it only after ...", "Qt gives the focus after ..."), has a tag. A clause
# ends at punctuation or a relative word: "Qt asks the factory installed last first" passes.
subject = r"\bQt(?:'s(?: own)?(?: [\w-]+){1,3}?| \d[\d.]*(?: (?:to|and) \d[\d.]*)?)?(?: \([^)]*\))? "
claim = re.compile(rf"\bOrca\b|{subject}(?:never|only|not|no longer|would|can|cannot) |{subject}[a-z]+s\b(?:(?! (?:that|which|"
                   r"where|when) )[^,;:.()])*?\b(?:only|never|not|no|none|nothing|neither|without|until|before|after|away)\b")
rows = dict(re.findall(r"^\| `([\w-]+)` \|[^|]*\|([^|]*)\|", read("docs/workarounds.md"), re.M))
fences, flip = {}, {"<": ">=", ">=": "<", ">": "<=", "<=": ">"}
for path, text in ((p, t) for p, t in sources.items() if p.startswith(("src/", "bench/"))):
    stack = []
    for line in text.splitlines():
        d = re.match(r"\s*#\s*(if|else|endif)(?:.*QT_VERSION ([<>=]+) QT_VERSION_CHECK\((\d+), (\d+))?", line)
        if d and d[1] == "if":
            stack.append(d[2] and f"QT_VERSION {d[2]} {d[3]}.{d[4]}")
        elif d:
            stack = stack[:-1] + ([stack[-1] and re.sub(r"[<>=]+", lambda m: flip[m[0]], stack[-1])] * (d[1] == "else"))
        for tag in re.findall(r"WORKAROUND\(([\w-]+)\)", line):
            fences.setdefault(tag, set()).update(filter(None, stack))
    for block in re.finditer(r"(?:^[ \t]*//.*\n)+", text, re.M):
        said = claim.search(re.sub(r"\s*//\s*", " ", block[0]))
        if said and "WORKAROUND(" not in block[0]:
            errors.append(f"{path}:{text.count(chr(10), 0, block.start()) + 1}: «{said[0]}», and no WORKAROUND tag")
if fences.keys() != rows.keys():
    errors.append(f"workarounds only in the code {sorted(fences.keys() - rows.keys())}, "
                  f"only in docs {sorted(rows.keys() - fences.keys())}")
for tag in fences.keys() & rows.keys():
    if fences[tag] != set(re.findall(r"QT_VERSION [<>=]+ \d+\.\d+", rows[tag])):
        errors.append(f"workarounds.md: {tag} is fenced by {sorted(fences[tag]) or 'no QT_VERSION'} in the code")

# The manual page's environment is read by the program or a library it links, and lists what the program reads.
man_env = set(re.findall(r"\b[A-Z][A-Z\d_]{2,}\b", "\n".join(l for l in read("package/corvane.1").split(
    ".SH ENVIRONMENT")[1].split(".SH")[0].splitlines() if l.startswith(".B"))))
code_env = set(re.findall(r'(?:getenv|qEnvironmentVariable\w*)\("(\w+)"', "".join(
    t for p, t in sources.items() if p.startswith("src/"))))
libs = re.findall(r"=> (/\S+)", subprocess.run(["ldd", corvane], capture_output=True, text=True).stdout)
for var in sorted(man_env - code_env):
    if not any(re.search(rb"(?<![A-Z_])%s(?![A-Z_])" % var.encode(), open(l, "rb").read()) for l in libs):
        errors.append(f"corvane.1: neither the program nor its libraries read {var}")
if code_env - man_env:
    errors.append(f"corvane.1 does not list {sorted(code_env - man_env)}, which the program reads")

# A script's usage line and its code: the same literal arguments, and the arguments it asks for read;
# an option it tests is named in its header.
for path in glob.glob("scripts/*.sh") + glob.glob("tests/*.sh"):
    head = re.match(r"(?:#.*\n)+", sources[path])[0]
    body = re.sub(r"^\s*#.*", "", sources[path][len(head):], flags=re.M)
    for opt in set(re.findall(r"(?:== ?|^\s*)(--[\w-]+)(?= ?\]\]|\))", body, re.M)) - set(re.findall(r"--[\w-]+", head)):
        errors.append(f"{path} takes {opt}, which its header does not name")
    if not (usage := re.search(rf"\b{re.escape(os.path.basename(path))} (.*?)(?:  |,|$)", head, re.M)):
        continue
    literals = re.findall(r"--[\w-]+|\w+(?=\|)|(?<=\|)\w+", usage[1])
    for var in re.findall(r"(\w+)=\$\{?1\b", body):
        for case in re.findall(rf"case \${{?{var}}}? in(.*?)esac", body, re.S):
            literals += "|".join(re.findall(r"^\s*([\w|.-]+)\)", case, re.M)).split("|")
    for lit in literals:
        if not (word(lit, body) and word(lit, usage[1])):
            errors.append(f"{path}: its usage line and its code differ on {lit}")
    needed = len(re.sub(r"\[[^][]*\]", "", re.sub(r"\[[^][]*\]", "", usage[1])).split())
    if needed and not re.search(rf"\${{?{needed}\b", body):
        errors.append(f"{path}: its usage line asks for {needed} arguments, and it does not read them")

# The manual page, the changelog and the metainfo name the version built and one release date.
releases = {re.search(r'^\.TH \S+ \d (\S+) "Corvane (\S+)"', read("package/corvane.1"), re.M).group(1, 2),
            re.search(r'<release version="([^"]+)" date="([^"]+)"', read("data/org.corvane.Corvane.metainfo.xml")).group(2, 1),
            (time.strftime("%Y-%m-%d", time.strptime(re.search(r"  \w+, (\d+ \w+ \d+)", read("package/changelog"))[1], "%d %b %Y")),
             re.match(r"corvane \((\S+)\)", read("package/changelog"))[1])}
if len(releases) != 1 or {v for _, v in releases} != {version}:
    errors.append(f"corvane.1, changelog and metainfo name other releases than one of {version}: {sorted(releases)}")

print("\n".join(dict.fromkeys(errors)) or "The docs agree with the tree, the program and the scripts.")
sys.exit(1 if errors else 0)
