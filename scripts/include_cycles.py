#!/usr/bin/env python3
"""Finds include cycles among the project's own files.

  scripts/include_cycles.py [ROOT] [--units FOLDER]...

Always checks the headers: a header that reaches itself through the headers it includes compiles
only in some orders. With --units, also checks each folder's units (a header with its .cpp file)
among each other: a .cpp that includes a header whose .cpp includes its own header back ties the two
into one. Window classes (CKZARN_*) are left out of the units, since a dialog and the pages it
creates know each other by design. Prints every cycle and exits 1 when there is one.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SKIP = {"build", ".git", "node_modules"}


def read_includes(root):
    files = {}
    for folder, dirs, names in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIP and not d.startswith("build")]
        for name in names:
            if name.endswith((".h", ".cpp")):
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    files[os.path.relpath(path, root)] = INCLUDE.findall(f.read())
    return files


def cycles(graph):
    """The strongly connected parts of more than one node (Tarjan), each sorted."""
    index, low, stack, on, found, counter = {}, {}, [], set(), [], [0]

    def visit(start):
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on.add(start)
        while work:
            node, edges = work[-1]
            for nxt in edges:
                if nxt not in index:
                    index[nxt] = low[nxt] = counter[0]
                    counter[0] += 1
                    stack.append(nxt)
                    on.add(nxt)
                    work.append((nxt, iter(sorted(graph.get(nxt, ())))))
                    break
                if nxt in on:
                    low[node] = min(low[node], index[nxt])
            else:
                work.pop()
                if work:
                    low[work[-1][0]] = min(low[work[-1][0]], low[node])
                if low[node] == index[node]:
                    part = []
                    while True:
                        member = stack.pop()
                        on.discard(member)
                        part.append(member)
                        if member == node:
                            break
                    if len(part) > 1 or node in graph.get(node, ()):
                        found.append(sorted(part))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def main(argv):
    args = argv[1:]
    units = []
    while "--units" in args:
        at = args.index("--units")
        units.append(args[at + 1].rstrip("/"))
        del args[at:at + 2]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    files = read_includes(root)

    headers = {p: {i for i in incs if i in files and i.endswith(".h")} for p, incs in files.items() if p.endswith(".h")}
    problems = [("headers", c) for c in cycles(headers)]
    for folder in units:
        def unit(path):
            return os.path.splitext(path)[0]

        def kept(path):
            return os.path.dirname(path) == folder and not os.path.basename(path).startswith("CKZARN_")

        graph = {}
        for path, incs in files.items():
            if not kept(path):
                continue
            for inc in incs:
                if inc in files and kept(inc) and unit(inc) != unit(path):
                    graph.setdefault(unit(path), set()).add(unit(inc))
        problems += [("units of " + folder, c) for c in cycles(graph)]
    for what, cycle in problems:
        print("include cycle among %s: %s" % (what, " -> ".join(cycle)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
