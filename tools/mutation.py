#!/usr/bin/env python3
"""Deliberate faults in the game's code, one at a time, against the unit tests.

Each mutant is one small change to one line of src/*.cpp or src/unix/*.cpp: a comparison moved
by one (< to <=, > to >=, and back), == and != swapped, && and || swapped, + and -, * and /, +=
and -=, ++ and -- swapped, a unary minus dropped, a number made one more or one less, true and
false swapped, an if or while condition negated, or a one-line statement dropped. The unit
tests are rebuilt with the mutant in a copy of the tree under build-mutation/ and run; a
mutant is killed when a test fails (or the run times out), survives when they all pass, and is
stillborn when it does not compile (those are not counted).

Left out on purpose: the start-up and shutdown of the window, timer and sound card, which only
the window tests reach (SKIPPED_FUNCTIONS), and the volume, pan, pitch and loop of a sound and
whole play_sample/stop_sample calls, which nothing can hear in a headless run.

The report gives the kill rate of each module and of the modules of the game's rules together
(RULE_MODULES), and the size of all of tests/ (unit tests, replay records' player, window, release
and reliability scripts) against the code (CODE: src/, bench/, tools/ and the top-level scripts),
in lines that are neither blank nor a comment: // and /* */ in C, C++ and the browser port's
JavaScript, # in shell, Python and CMake, and # in the replay records, whose every other line
counts; files in no such language (READMEs, the window icon's picture) are not counted.

Run it through tools/mutation_check.sh; `--list` prints the mutants without running them.
"""

import argparse
import concurrent.futures
import json
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# what the unit tests can never reach: these run only with a real window, timer and sound card
SKIPPED_FUNCTIONS = {
    "init_everything",
    "shutdown_everything",
    "quit_signal",
    "fail",
    "present_frame",
}
# the entry point is not linked into the unit tests
SKIPPED_FILES = {"moonstruck.cpp"}
# the game's code as the unit tests link it on Linux: src/*.cpp and src/unix/*.cpp (src/win/ and
# src/web/ are other systems' versions)
MUTATED_FOLDERS = ("src", "src/unix")
SOUND_CALLS = ("play_sample(", "stop_sample(")

# names before a < that opens a template's arguments rather than a comparison
TEMPLATES = {"static_cast", "reinterpret_cast", "const_cast", "vector", "list", "atomic",
             "tuple", "pair", "array", "numeric_limits"}
# names before a * that declares a pointer rather than multiplies
POINTER_TYPES = {"BITMAP", "SAMPLE", "FONT", "FILE", "GFX_DRIVER", "char", "int", "void",
                 "const", "drawthing", "_shot", "_enemy", "_particle", "_player", "_powerup"}
# first words of a line that declares rather than does something
DECLARING = {"const", "constexpr", "static", "int", "float", "bool", "short", "long", "unsigned",
             "char", "auto", "double", "size_t", "return", "case", "default", "struct", "enum",
             "std", "BITMAP", "FILE", "fixed", "entry", "_enemy", "_particle", "_powerup",
             "_shot", "drawthing", "uint32_t", "int16_t", "using", "namespace", "else"}

TOKEN = re.compile(r"""
    (?P<space>\s+)
  | (?P<comment>//[^\n]*)
  | (?P<string>"(?:\\.|[^"\\])*"|'(?:\\.|[^'\\])*')
  | (?P<number>(?:\d+\.\d*|\.\d+|\d+)(?:[eE][+-]?\d+)?[fFuUlL]*)
  | (?P<name>[A-Za-z_]\w*)
  | (?P<op><<=|>>=|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||\+=|-=|\*=|/=|::|[-+*/%<>=!&|^~?:;,.(){}\[\]#])
""", re.VERBOSE)

SWAPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==", "&&": "||",
         "||": "&&", "+=": "-=", "-=": "+=", "++": "--", "--": "++", "true": "false",
         "false": "true"}
BINARY_SWAPS = {"+": "-", "-": "+", "*": "/", "/": "*"}


class Mutant:
    def __init__(self, path, line, col, old, new, what):
        self.path, self.line, self.col, self.old, self.new, self.what = (
            path, line, col, old, new, what)

    def place(self):
        return f"{os.path.relpath(self.path, ROOT)}:{self.line}"

    def describe(self):
        return f"{self.place()}:{self.col + 1}: {self.what}"

    def apply(self, lines):
        """the file's lines with this mutant's change made"""
        changed = list(lines)
        text = changed[self.line - 1]
        assert text[self.col:self.col + len(self.old)] == self.old, self.describe()
        changed[self.line - 1] = text[:self.col] + self.new + text[self.col + len(self.old):]
        return changed


def tokens(text):
    """(kind, text, column) of each token of one line, spaces and comments left out"""
    found, at = [], 0
    while at < len(text):
        m = TOKEN.match(text, at)
        if not m:  # a character the lexer does not know: leave the rest of the line alone
            break
        if m.lastgroup not in ("space", "comment"):
            found.append((m.lastgroup, m.group(), at))
        at = m.end()
    return found


def functions_by_line(lines):
    """the name of the function each line is in, or None outside any function body"""
    names, current = [], None
    for text in lines:
        if current is None and re.match(r"[A-Za-z_].*\(.*\{\s*$", text) and "=" not in text:
            m = re.search(r"(~?\w+)\s*\(", text)
            current = m.group(1) if m else "?"
            names.append(current)
            continue
        names.append(current)
        if text.rstrip() == "}":
            current = None
    return names


def template_brackets(toks):
    """indexes of the < and > that bracket template arguments"""
    skip, depth = set(), 0
    for i, (kind, text, _) in enumerate(toks):
        if text == "<" and (depth > 0 or (i > 0 and toks[i - 1][1] in TEMPLATES)):
            skip.add(i)
            depth += 1
        elif text == ">" and depth > 0:
            skip.add(i)
            depth -= 1
        elif text == ">>" and depth > 0:
            skip.add(i)
            depth = max(0, depth - 2)
    return skip


def closing_paren(toks, i):
    depth = 0
    for j in range(i, len(toks)):
        if toks[j][1] == "(":
            depth += 1
        elif toks[j][1] == ")":
            depth -= 1
            if depth == 0:
                return j
    return None


def line_mutants(path, number, text, in_function):
    stripped = text.strip()
    if not stripped or stripped.startswith(("#", "//")):
        return []
    toks = tokens(text)
    sound = any(call in text for call in SOUND_CALLS)
    brackets = template_brackets(toks)
    found = []

    def add(i, new, what=None):
        kind, old, col = toks[i]
        found.append(Mutant(path, number, col, old, new, what or f"{old} -> {new}"))

    for i, (kind, tok, col) in enumerate(toks):
        before = toks[i - 1] if i > 0 else (None, None, None)
        operand_before = before[0] in ("name", "number") or before[1] in (")", "]")
        if tok in SWAPS and i not in brackets:
            if kind == "name" or kind == "op":
                add(i, SWAPS[tok])
        elif tok in BINARY_SWAPS and operand_before and before[1] not in ("return", "case"):
            if tok == "*" and before[1] in POINTER_TYPES:
                continue
            if tok in "*/" and i + 1 < len(toks) and toks[i + 1][1] in (")", ",", "const", "*"):
                continue
            add(i, BINARY_SWAPS[tok])
        elif tok == "-" and not operand_before and i + 1 < len(toks):
            add(i, "", "unary - dropped")
        elif kind == "number" and not sound:
            m = re.match(r"(\d+)(\.\d*)?(.*)", tok)
            if m and tok[0] != ".":
                whole, frac, suffix = int(m.group(1)), m.group(2) or "", m.group(3)
                for n in (whole + 1, whole - 1):
                    if n >= 0:
                        add(i, f"{n}{frac}{suffix}")
        elif tok in ("if", "while") and i + 1 < len(toks) and toks[i + 1][1] == "(":
            close = closing_paren(toks, i + 1)
            if close is not None:
                start, end = toks[i + 1][2], toks[close][2]
                old = text[start:end + 1]
                found.append(Mutant(path, number, start, old, "(!" + old + ")",
                                    f"{tok} condition negated"))

    # a whole one-line statement dropped, where the line holds just that statement
    first = toks[0][1] if toks else ""
    if (in_function and stripped.endswith(";") and first not in DECLARING and not sound
            and stripped.count("(") == stripped.count(")") and not stripped.startswith("}")
            and len(toks) > 1):
        col = text.index(stripped)
        found.append(Mutant(path, number, col, stripped, ";", f"dropped: {stripped}"))
    return found


def all_mutants(files):
    found = []
    for path in files:
        with open(path) as f:
            lines = f.read().split("\n")
        owners = functions_by_line(lines)
        for number, text in enumerate(lines, 1):
            owner = owners[number - 1]
            if owner in SKIPPED_FUNCTIONS:
                continue
            found += line_mutants(path, number, text, owner is not None)
    return found


MEMORY_LIMIT = 1 << 30  # a mutant that eats memory fails here instead of starving the machine


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (MEMORY_LIMIT, MEMORY_LIMIT))


def sources(folder, endings):
    """the files of a folder with those endings, in name order"""
    return [os.path.join(folder, f) for f in sorted(os.listdir(folder)) if f.endswith(endings)]


def comment_style(path):
    """'c' for C, C++ and JavaScript (// and /* */), 'hash' for shell, Python and CMake (#), else None"""
    name = os.path.basename(path)
    if name.startswith("README"):
        return None
    if name.endswith((".cpp", ".h", ".c", ".js")):
        return "c"
    if name.endswith((".sh", ".py", ".cmake", ".txt")):
        return "hash"  # .txt: CMakeLists.txt, and the replay records, whose header lines start with #
    with open(path, "rb") as f:
        return "hash" if f.read(2) == b"#!" else None  # a script without an ending


def c_code(line, in_block):
    """what is left of a line of C or C++ without its comments, and whether a /* is still open"""
    code, at = "", 0
    while at < len(line):
        if in_block:
            end = line.find("*/", at)
            if end < 0:
                return code, True
            in_block, at = False, end + 2
        elif line.startswith("/*", at):
            in_block, at = True, at + 2
        elif line.startswith("//", at):
            break
        elif line[at] in "\"'":
            m = TOKEN.match(line, at)
            code += m.group() if m else line[at:]
            at = m.end() if m else len(line)
        else:
            code += line[at]
            at += 1
    return code, in_block


def code_lines(paths):
    """lines that are neither blank nor only a comment, in the files whose language is known"""
    count = 0
    for path in paths:
        style = comment_style(path)
        in_block = False
        with open(path, errors="replace") as f:
            for line in f:
                if style == "hash":
                    count += bool(line.strip()) and not line.strip().startswith("#")
                elif style == "c":
                    code, in_block = c_code(line, in_block)
                    count += bool(code.strip())
    return count


def files_under(*places):
    """every file of these folders and files, in name order"""
    found = []
    for place in places:
        if os.path.isfile(place):
            found.append(place)
        for folder, _, names in os.walk(place):
            found += [os.path.join(folder, n) for n in names]
    return sorted(found)


# the project's code and its tests, as the size guideline counts them
CODE = ("src", "bench", "tools", "play", "test", "package", "benchmark")
TESTS = ("tests",)
# the modules that hold the game's rules, whose kill rate is the one that counts
RULE_MODULES = ("control", "draw", "enemy", "logic", "particle", "player", "screens")


def failed_rows(output):
    """for each failed test, the table rows (their SCOPED_TRACE names) whose checks failed"""
    rows, pending, in_trace = {}, set(), False
    for line in output.splitlines():
        if line == "Google Test trace:":
            in_trace = True
            continue
        traced = re.match(r"^\S+:\d+: (.*)$", line) if in_trace else None
        if traced and traced.group(1) != "Failure":  # the next failure's first line ends it
            pending.add(traced.group(1))
            continue
        in_trace = False
        # a test of a table of parameters is named "Suite/Test.Case/param, where GetParam() ..."
        finished = re.match(r"^\[  FAILED  \] ([\w/]+\.[\w/]+)(?:, where .*)? \(\d+ ms\)", line)
        if finished:
            rows[finished.group(1)] = sorted(pending)
            pending = set()
    return rows


def run(cmd, cwd, timeout, limited=False):
    """the exit status and the output, or None on a timeout; a timeout ends the command's
    children too (the replay test's games), which would otherwise hold its output open"""
    with subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          start_new_session=True,
                          preexec_fn=limit_memory if limited else None) as done:
        try:
            output = done.communicate(timeout=timeout)[0]
        except subprocess.TimeoutExpired:
            os.killpg(done.pid, signal.SIGKILL)
            done.communicate()
            return None
        return done.returncode, output.decode(errors="replace")


class Worker:
    """a copy of the tree and a build of the unit tests of its own"""

    def __init__(self, folder, jobs, tests_at=None):
        folder = os.path.abspath(folder)
        self.tree = os.path.join(folder, "tree")
        self.build = os.path.join(folder, "build")
        self.jobs = jobs
        # a build left by an earlier run may hold the object of its last mutant, newer than the
        # copied sources, which keep their times: both start afresh
        shutil.rmtree(self.tree, ignore_errors=True)
        shutil.rmtree(self.build, ignore_errors=True)
        os.makedirs(self.tree)
        for part in ("CMakeLists.txt", "cmake", "data", "media", "src", "tests"):
            source = os.path.join(ROOT, part)
            target = os.path.join(self.tree, part)
            if os.path.isdir(source):
                shutil.copytree(source, target)
            else:
                shutil.copy2(source, target)
        if tests_at:  # the unit tests as they were at that commit, against today's code
            shutil.rmtree(os.path.join(self.tree, "tests"))
            archive = subprocess.run(["git", "-C", ROOT, "archive", tests_at, "tests"],
                                     check=True, stdout=subprocess.PIPE).stdout
            subprocess.run(["tar", "-x", "-C", self.tree], input=archive, check=True)
        subprocess.run(["cmake", "-S", self.tree, "-B", self.build, "-DMOONSTRUCK_TESTS=ON",
                        "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0"],
                       check=True, stdout=subprocess.DEVNULL)

    def tree_path(self, path):
        return os.path.join(self.tree, os.path.relpath(path, ROOT))

    def build_and_test(self, timeout):
        """'killed', 'survived', 'stillborn' or 'timeout', and the names of the failed tests"""
        built = run(["cmake", "--build", self.build, "--target", "unit_tests", "-j",
                     str(self.jobs)], self.build, 600)
        if built is None or built[0] != 0:
            return "stillborn", [], {}
        tested = run([os.path.join(self.build, "tests", "unit_tests"), "--gtest_brief=1"],
                     self.build, timeout, limited=True)
        if tested is None:
            return "timeout", [], {}
        rows = failed_rows(tested[1])
        return ("survived" if tested[0] == 0 else "killed"), sorted(rows), rows

    def try_mutant(self, mutant, originals, timeout):
        target = self.tree_path(mutant.path)
        with open(target, "w") as f:
            f.write("\n".join(mutant.apply(originals[mutant.path])))
        try:
            return self.build_and_test(timeout)
        finally:
            with open(target, "w") as f:
                f.write("\n".join(originals[mutant.path]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--sample", type=int, default=0,
                        help="try this many mutants picked at random (default: every one)")
    parser.add_argument("--seed", type=int, default=15, help="seed of the sample")
    parser.add_argument("--workers", type=int, default=2, help="builds running side by side")
    parser.add_argument("--timeout", type=float, default=30, help="seconds a test run may take")
    parser.add_argument("--tests-at", metavar="COMMIT",
                        help="measure the unit tests of an earlier commit instead")
    parser.add_argument("--out", default=os.path.join(ROOT, "build-mutation"))
    parser.add_argument("--list", action="store_true", help="print the mutants and stop")
    parser.add_argument("--rule-modules", action="store_true",
                        help="mutate only the modules of the game's rules: " +
                        ", ".join(RULE_MODULES))
    parser.add_argument("files", nargs="*",
                        help="files to mutate (default: src/*.cpp, src/unix/*.cpp)")
    args = parser.parse_args()

    files = [os.path.abspath(f) for f in args.files] or [
        f for folder in MUTATED_FOLDERS for f in sources(os.path.join(ROOT, folder), ".cpp")
        if os.path.basename(f) not in SKIPPED_FILES and
        (not args.rule_modules or os.path.basename(f)[:-4] in RULE_MODULES)]
    mutants = all_mutants(files)
    if args.sample and args.sample < len(mutants):
        chosen = sorted(random.Random(args.seed).sample(range(len(mutants)), args.sample))
        mutants = [mutants[i] for i in chosen]
    if args.list:
        for m in mutants:
            print(m.describe())
        print(f"{len(mutants)} mutants")
        return 0

    originals = {}
    for path in files:
        with open(path) as f:
            originals[path] = f.read().split("\n")

    os.makedirs(args.out, exist_ok=True)
    workers = [Worker(os.path.join(args.out, f"w{i}"), 1, args.tests_at)
               for i in range(args.workers)]
    for w in workers:
        unchanged = w.build_and_test(args.timeout)[0]
        if unchanged != "survived":
            print(f"the unchanged code gives '{unchanged}' in {w.build}: nothing to measure")
            return 1

    started = time.time()
    results = [None] * len(mutants)
    free = list(workers)

    def attempt(index):
        worker = free.pop()
        try:
            results[index] = worker.try_mutant(mutants[index], originals, args.timeout)
        finally:
            free.append(worker)
        return index

    with concurrent.futures.ThreadPoolExecutor(max_workers=len(workers)) as pool:
        for done, index in enumerate(pool.map(attempt, range(len(mutants))), 1):
            if done % 25 == 0 or done == len(mutants):
                print(f"  {done}/{len(mutants)} tried, {time.time() - started:.0f} s",
                      flush=True)

    # which tests caught which mutants, for telling the tests that catch nothing of their own
    with open(os.path.join(args.out, "kills.json"), "w") as f:
        json.dump([{"mutant": m.describe(), "result": r[0], "failed": r[1], "rows": r[2]}
                   for m, r in zip(mutants, results)], f, indent=0)
    outcomes = [r[0] for r in results]
    counts = {k: outcomes.count(k) for k in ("killed", "timeout", "survived", "stillborn")}
    judged = counts["killed"] + counts["timeout"] + counts["survived"]
    tests = f"the unit tests of {args.tests_at}" if args.tests_at else "the unit tests"
    report = [f"{tests} against {len(mutants)} mutants" +
              (f" (a sample, seed {args.seed})" if args.sample else " (all)"),
              f"stillborn (do not compile): {counts['stillborn']}",
              f"killed: {counts['killed']} by a failing test, {counts['timeout']} by a timeout",
              f"survived: {counts['survived']}"]
    if judged:
        killed = counts["killed"] + counts["timeout"]
        report.append(f"kill rate: {killed}/{judged} = {100.0 * killed / judged:.1f} %")
    # the kill rate of each module, and of the rule modules together
    def rate(picked):
        judged = [r for r in picked if r != "stillborn"]
        killed = sum(r in ("killed", "timeout") for r in judged)
        return f"{killed}/{len(judged)} = {100.0 * killed / max(1, len(judged)):.1f} %"
    module = [os.path.splitext(os.path.basename(m.path))[0] for m in mutants]
    report.append("kill rate by module:")
    for name in sorted(set(module)):
        report.append(f"  {name:10s} {rate([r for r, n in zip(outcomes, module) if n == name])}")
    report.append(f"  rule modules ({', '.join(RULE_MODULES)}): "
                  f"{rate([r for r, n in zip(outcomes, module) if n in RULE_MODULES])}")
    # all of tests/ against the code, src/, bench/, tools/ and the top-level scripts, in lines
    # that are neither blank nor a comment
    code = code_lines(files_under(*[os.path.join(ROOT, p) for p in CODE]))
    tested = code_lines(files_under(*[os.path.join(workers[0].tree, p) for p in TESTS]))
    report.append(f"lines of tests/ to lines of {', '.join(CODE)}: {tested}/{code} = "
                  f"{100.0 * tested / code:.1f} %")
    # a test that is the only one to catch some fault earns its lines; one that catches nothing
    # alone can go unless the faults it shares are caught by no other test that stays
    alone = {}
    for r in results:
        if r[0] == "killed" and len(r[1]) == 1:
            alone[r[1][0]] = alone.get(r[1][0], 0) + 1
    catching = sorted({t for r in results for t in r[1]})
    listed = run([os.path.join(workers[0].build, "tests", "unit_tests"), "--gtest_list_tests"],
                 workers[0].build, 60)
    suite, every_test = "", []
    for line in (listed[1] if listed else "").splitlines():
        if line and not line.startswith(" "):
            suite = line.strip()
        elif line.startswith("  ") and suite:
            every_test.append(suite + line.split("#")[0].strip())
    catching += [t for t in every_test if t not in catching]
    report.append("faults each test is alone in catching:")
    for name in sorted(catching, key=lambda t: (alone.get(t, 0), t)):
        report.append(f"  {alone.get(name, 0):4d}  {name}")
    report.append("survivors:")
    for m, r in zip(mutants, outcomes):
        if r == "survived":
            source = originals[m.path][m.line - 1].strip()
            report.append(f"  {m.describe()}    | {source}")
    text = "\n".join(report)
    print(text)
    with open(os.path.join(args.out, "report.txt"), "w") as f:
        f.write(text + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
