#!/usr/bin/env python3
"""The project's include graph: every C and C++ file git knows, a header and
its source counted as one unit, an arrow for each quoted include that names a
file of the tree. Prints the figures and every cycle; exits 1 when there is a
cycle, so that CI fails on one.
    scripts/include_graph.py [--all]   (--all: tests, fuzz, bench and examples too)"""
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')
SOURCE = re.compile(r"\.(c|cc|cpp|h|hh|hpp)$")
ASIDE = re.compile(r"(tests?|fuzz|bench|examples)/")


def tracked_sources(everything):
    names = subprocess.run(["git", "ls-files"], capture_output=True, text=True, check=True).stdout.split()
    return [n for n in names if SOURCE.search(n) and (everything or not ASIDE.match(n))]


def include_roots(files):
    # The tree's top, each library's include folder, and each folder that
    # names its own sub-folders ("user32/..." under platform/portable).
    roots = {""}
    for f in files:
        if "/include/" in f:
            roots.add(f.split("/include/")[0] + "/include")
    dirs = {os.path.dirname(f) for f in files}
    roots |= {os.path.dirname(d) for d in dirs if os.path.dirname(d)}
    return sorted(roots)


def unit(name):
    return SOURCE.sub("", name)


def arrows(files):
    known, roots, edges = set(files), include_roots(files), set()
    for f in files:
        with open(f, encoding="utf-8", errors="replace") as text:
            for line in text:
                m = INCLUDE.match(line)
                if not m:
                    continue
                here = os.path.normpath(os.path.join(os.path.dirname(f), m.group(1)))
                candidates = [here] + [os.path.normpath(os.path.join(r, m.group(1))) for r in roots]
                target = next((c for c in candidates if c in known), None)
                if target and unit(target) != unit(f):
                    edges.add((unit(f), unit(target)))
    return edges


def cycles(nodes, edges):
    out = {n: [] for n in nodes}
    for a, b in edges:
        out[a].append(b)
    index, low, stack, on, found = {}, {}, [], set(), []
    for start in sorted(nodes):  # Tarjan, without recursion
        if start in index:
            continue
        work = [(start, iter(sorted(out[start])))]
        index[start] = low[start] = len(index)
        stack.append(start)
        on.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is None:
                work.pop()
                if work:
                    low[work[-1][0]] = min(low[work[-1][0]], low[node])
                if low[node] == index[node]:
                    group = []
                    while True:
                        member = stack.pop()
                        on.discard(member)
                        group.append(member)
                        if member == node:
                            break
                    if len(group) > 1:
                        found.append(sorted(group))
            elif child not in index:
                index[child] = low[child] = len(index)
                stack.append(child)
                on.add(child)
                work.append((child, iter(sorted(out[child]))))
            elif child in on:
                low[node] = min(low[node], index[child])
    return found


def main():
    files = tracked_sources("--all" in sys.argv)
    nodes = {unit(f) for f in files}
    edges = arrows(files)
    groups = cycles(nodes, edges)
    member = {n: i for i, g in enumerate(groups) for n in g}
    back = sum(1 for a, b in edges if a in member and member.get(b) == member[a])
    print(f"files {len(files)}, units {len(nodes)}, arrows {len(edges)}, "
          f"arrows inside cycles {back}, cycles {len(groups)}")
    for g in groups:
        print("cycle: " + " ".join(g))
    return 1 if groups else 0


if __name__ == "__main__":
    sys.exit(main())
