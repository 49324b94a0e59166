#!/usr/bin/env python3
"""Fails when source folders include each other.

Every #include "a/b/File.h" of a source file is an edge from the file's folder to the
folder of the included file. A folder that reaches itself again along such edges (two
folders that include each other, or a longer ring) is reported with one include of
each edge, and the check fails.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCES = ('.h', '.cpp')


def include_edges(root):
    edges, example = {}, {}
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = [d for d in subfolders if not d.startswith(('.', 'build'))]
        here = os.path.relpath(folder, root)
        for name in files:
            if not name.endswith(SOURCES):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding='utf-8', errors='replace') as source:
                for line in source:
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    included = match.group(1)
                    for candidate in (os.path.join(here, included), included):
                        candidate = os.path.normpath(candidate)
                        if os.path.isfile(os.path.join(root, candidate)):
                            break
                    else:
                        continue  # a header of a library or a generated one
                    target = os.path.dirname(candidate)
                    if target != here:
                        edges.setdefault(here, set()).add(target)
                        example.setdefault((here, target), f'{os.path.join(here, name)} includes {candidate}')
    return edges, example


def rings(edges):
    """The strongly connected groups of more than one folder (Tarjan)."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for v in sorted(edges):
        if v not in index:
            visit(v)
    return groups


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else '.')
    edges, example = include_edges(root)
    groups = rings(edges)
    for group in groups:
        print('Folders that include each other: ' + ', '.join(group))
        members = set(group)
        for a in group:
            for b in sorted(edges.get(a, ())):
                if b in members:
                    print('  ' + example[(a, b)])
    return 1 if groups else 0


if __name__ == '__main__':
    sys.exit(main())
