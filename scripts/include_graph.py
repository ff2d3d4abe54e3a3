#!/usr/bin/env python3
"""The project's include graph: every C and C++ file git knows, a header and
its source counted as one unit, an arrow for each quoted include that names a
file of the tree. Prints the figures, every cycle, every arrow that runs back
up the floors of scripts/include_floors.txt, every unit outside them and
every prefix ("toolkit/") found through more than one include root; exits 1
on any of them, so that CI fails on one.
    scripts/include_graph.py [--all] [--floors FILE]
    (--all: tests, fuzz, bench and examples too)"""
import fnmatch
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')
SOURCE = re.compile(r"\.(c|cc|cpp|h|hh|hpp)$")
ASIDE = re.compile(r"(tests?|fuzz|bench|examples)/")
HERE = os.path.dirname(os.path.abspath(__file__))


def tracked_sources(everything):
    names = subprocess.run(["git", "ls-files"], capture_output=True, text=True, check=True).stdout.split()
    return [n for n in names if SOURCE.search(n) and (everything or not ASIDE.match(n))]


def unit(name):
    return SOURCE.sub("", name)


def read_floors(path):
    """Roots in the order they are searched, and floors bottom first, each a
    list of unit patterns; an indented line goes on with the floor above it."""
    roots, floors = [], []
    with open(path, encoding="utf-8") as text:
        for line in text:
            words = line.split("#")[0].split()
            if not words:
                continue
            if line[0].isspace() and floors:
                floors[-1][1].extend(words)
            elif words[0] == "root":
                roots.append("" if words[1] == "." else words[1])
            elif words[0] == "floor":
                floors.append((words[1], words[2:]))
            else:
                sys.exit(f"{path}: neither a root nor a floor: {line.strip()}")
    return roots, floors


def floor_of(name, floors):
    for rank, (_, patterns) in enumerate(floors):
        if any(fnmatch.fnmatchcase(name, p) for p in patterns):
            return rank
    return None


def arrows(files, roots):
    """The arrows, and for each prefix the roots its includes were found through."""
    known, edges, prefixes = set(files), set(), {}
    for f in files:
        with open(f, encoding="utf-8", errors="replace") as text:
            for line in text:
                m = INCLUDE.match(line)
                if not m:
                    continue
                name = m.group(1)
                here = os.path.normpath(os.path.join(os.path.dirname(f), name))
                target, root = (here, None) if here in known else (None, None)
                for r in roots if target is None else []:
                    candidate = os.path.normpath(os.path.join(r, name))
                    if candidate in known:
                        target, root = candidate, r
                        break
                if root is not None and "/" in name:
                    prefixes.setdefault(name.split("/")[0], set()).add(root or ".")
                if target and unit(target) != unit(f):
                    edges.add((unit(f), unit(target)))
    return edges, prefixes


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
    floors_file = os.path.join(HERE, "include_floors.txt")
    if "--floors" in sys.argv:
        floors_file = sys.argv[sys.argv.index("--floors") + 1]
    roots, floors = read_floors(floors_file)
    files = tracked_sources("--all" in sys.argv)
    nodes = {unit(f) for f in files}
    edges, prefixes = arrows(files, roots)
    groups = cycles(nodes, edges)
    member = {n: i for i, g in enumerate(groups) for n in g}
    inside = sum(1 for a, b in edges if a in member and member.get(b) == member[a])
    rank = {n: floor_of(n, floors) for n in nodes}
    outside = sorted(n for n in nodes if rank[n] is None)
    up = sorted((a, b) for a, b in edges if None not in (rank[a], rank[b]) and rank[b] > rank[a])
    spread = {p: sorted(r) for p, r in sorted(prefixes.items()) if len(r) > 1}
    print(f"files {len(files)}, units {len(nodes)}, arrows {len(edges)}, arrows back up {len(up)}, "
          f"arrows inside cycles {inside}, cycles {len(groups)}")
    for g in groups:
        print("cycle: " + " ".join(g))
    for a, b in up:
        print(f"back up: {a} ({floors[rank[a]][0]}) -> {b} ({floors[rank[b]][0]})")
    for n in outside:
        print(f"on no floor: {n}")
    for p, r in spread.items():
        print(f"prefix {p}/ found through {len(r)} roots: {' '.join(r)}")
    return 1 if groups or up or outside or spread else 0


if __name__ == "__main__":
    sys.exit(main())
