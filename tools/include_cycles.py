#!/usr/bin/env python3
"""Prints the include cycles between the folders of src/.

Reads every `#include "..."` line under src/, maps each included file to the
folder that holds it and builds the graph of folders that include one
another. Any cycle in that graph is printed as "a -> b -> a"; the exit
status is 1 when there is one, 0 otherwise.

    python3 tools/include_cycles.py [src-dir]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_graph(src):
    homes = {}  # file name -> folder that holds it
    sources = []
    for root, _, files in os.walk(src):
        folder = os.path.relpath(root, src).replace(os.sep, "/")
        for name in files:
            if name.endswith((".h", ".cpp")):
                homes.setdefault(name, set()).add(folder)
                sources.append((folder, os.path.join(root, name)))
    graph = {}
    for folder, path in sources:
        graph.setdefault(folder, {})
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                # "../x.h" and "folder/x.h" name their folder; a bare name is found by its file name.
                resolved = os.path.normpath(os.path.join(os.path.dirname(path), target))
                if os.path.isfile(resolved):
                    found = {os.path.relpath(os.path.dirname(resolved), src).replace(os.sep, "/")}
                else:
                    found = homes.get(os.path.basename(target), set())
                for other in found:
                    if other != folder:
                        where = "%s:%d" % (os.path.relpath(path, src), number)
                        graph[folder].setdefault(other, []).append(where)
    return graph


def cycles(graph):
    """Each elementary cycle once, as a list of folders starting at its smallest."""
    found = []
    nodes = sorted(graph)
    for start in nodes:
        stack = [(start, [start])]
        while stack:
            node, path = stack.pop()
            for nxt in sorted(graph.get(node, {})):
                if nxt == start:
                    found.append(path + [start])
                elif nxt > start and nxt not in path:
                    stack.append((nxt, path + [nxt]))
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    graph = folder_graph(src)
    found = cycles(graph)
    for cycle in found:
        print(" -> ".join(cycle))
        for a, b in zip(cycle, cycle[1:]):
            lines = graph[a][b]
            print("    %s -> %s: %s%s" % (a, b, ", ".join(lines[:3]), " ..." if len(lines) > 3 else ""))
    if found:
        print("%d include cycle(s) between the folders of src/" % len(found))
        return 1
    print("no include cycle between the folders of src/")
    return 0


if __name__ == "__main__":
    sys.exit(main())
