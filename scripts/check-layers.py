#!/usr/bin/env python3
"""Fails when a product file includes a folder above its own, or when units include each other.

Usage: check-layers.py [SOURCE_DIR]

Every '#include "..."' of the product folders is read. A folder may include only the folders
listed for it below (its own always); a subfolder (download/win/, packer/pe/) belongs to its
top folder. Includes that name no file of the tree (system headers in quotes) are left alone.
A header and its source (name.h and name.cpp) are one unit: a unit that reaches itself again
through the includes of other units is a loop, even when no file includes itself.
Each fault is printed as "path:line: ..." and the exit code is 1 when there is any.
"""

import os
import re
import sys

# Which folders each folder may include, besides itself.
ALLOWED = {
    "base": set(),
    "resources": set(),
    "archive": {"base"},
    "prereq": {"base"},
    "download": {"base", "archive"},
    "install": {"base", "archive", "prereq"},
    "plan": {"base", "archive", "prereq", "download", "install"},
    "ui": {"base", "resources", "archive", "prereq", "download", "install", "plan"},
    "app": {"base", "resources", "archive", "prereq", "download", "install", "plan", "ui"},
    "packer": {"base", "archive", "prereq", "download", "resources"},
}

SOURCE_SUFFIXES = (".h", ".cpp", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def product_files(root):
    for folder in sorted(ALLOWED):
        for directory, subfolders, names in os.walk(os.path.join(root, folder)):
            subfolders.sort()
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def resolve(root, including, target):
    """The tree-relative path an include names: beside the including file, else from the root."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), target)).replace(os.sep, "/")
    for candidate in (beside, os.path.normpath(target).replace(os.sep, "/")):
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def top_folder(path):
    return path.split("/", 1)[0]


def unit(path):
    """A file's unit: its path without the extension, so that name.h and name.cpp are one."""
    return os.path.splitext(path)[0]


def find_cycles(graph):
    """Every cycle once, as a list of nodes that ends where it starts."""
    cycles = []
    state = {}  # absent: not seen; 1: on the current path; 2: done
    for start in sorted(graph):
        if start in state:
            continue
        path = [start]
        state[start] = 1
        pending = [iter(sorted(graph[start]))]
        while pending:
            following = next(pending[-1], None)
            if following is None:
                pending.pop()
                state[path.pop()] = 2
                continue
            if state.get(following) == 1:
                cycles.append(path[path.index(following):] + [following])
            elif following not in state:
                state[following] = 1
                path.append(following)
                pending.append(iter(sorted(graph.get(following, ()))))
    return cycles


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    graph = {}
    # For each edge between two units, the first include that makes it.
    lines = {}
    files = 0
    for path in product_files(root):
        files += 1
        graph.setdefault(unit(path), set())
        folder = top_folder(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            for number, text in enumerate(source, 1):
                match = INCLUDE.match(text)
                if not match:
                    continue
                target = resolve(root, path, match.group(1))
                if target is None:
                    continue
                if unit(target) != unit(path):
                    graph[unit(path)].add(unit(target))
                    lines.setdefault((unit(path), unit(target)), (path, number))
                other = top_folder(target)
                if other != folder and other not in ALLOWED.get(folder, set()):
                    faults.append('%s:%d: %s/ may not include %s/ ("%s")' %
                                  (path, number, folder, other, match.group(1)))
    for cycle in find_cycles(graph):
        path, number = lines[(cycle[0], cycle[1])]
        faults.append("%s:%d: units include each other: %s" % (path, number, " -> ".join(cycle)))
    for fault in faults:
        print(fault)
    print("%d file(s) checked, %d fault(s)" % (files, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
