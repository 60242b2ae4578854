#!/usr/bin/env python3
"""Lists the #include edges between the project's own source files and reports what breaks the
layering: loops between modules (a module is a .h/.cpp pair) and includes that point from a
lower layer to a higher one. Exits 1 when it finds either.

  scripts/includes.py [--edges] [TREE]
    --edges   every edge between modules as well
    TREE      the tree to read (default: the one this script lies in)
"""
import os
import re
import sys

_args = [a for a in sys.argv[1:] if not a.startswith("--")]
ROOT = os.path.abspath(_args[0]) if _args else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Folders of the deliverables, each with its rank; a file may include files of its own folder and
# of folders with a lower rank in the same group. The raster library sits beside the front-end:
# below std, so that it may reach math and the shared records only.
LAYERS = {
    "math": ("viewer", 0),
    "Shared": ("viewer", 1),
    "Render/Direct": ("viewer", 2),
    "std": ("viewer", 3),
    "Render": ("viewer", 4),
    "Render/Shared": ("viewer", 3.5),   # where the shared records lay before they moved below std
    "UI": ("viewer", 5),
    "Tools/QevView": ("viewer", 6),
    "Forms": ("editor", 0),
    "Tools/ZulEditor": ("editor", 1),
    "Tools/Tarvel/DLLs/tarvelThings": ("editor", 1),
    "Tools/Tarvel/DLLs/tarvelScenes": ("editor", 1),
    "Tools/Tarvel/Host": ("editor", 2),
}
# The raster library and std both sit below the front-end; neither includes the other.
SIDE_BY_SIDE = {("Render/Direct", "std"), ("std", "Render/Direct")}
# Panels' record headers are what the host may include from the panels.
HOST_MAY_INCLUDE = {"ThingsRecords.h", "ScenesRecords.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def source_files():
    for folder in LAYERS:
        top = os.path.join(ROOT, folder)
        if not os.path.isdir(top):
            continue
        for name in sorted(os.listdir(top)):
            path = os.path.join(top, name)
            if os.path.isfile(path) and os.path.splitext(name)[1] in (".h", ".cpp", ".rc"):
                yield folder, name


def main():
    show_edges = "--edges" in sys.argv[1:]
    files = list(source_files())
    by_name = {}
    for folder, name in files:
        by_name.setdefault(name, []).append(folder)

    def module(folder, name):
        return folder + "/" + os.path.splitext(name)[0]

    edges = {}          # module -> set of modules it includes
    file_edges = []     # (folder, name, included folder, included name)
    problems = 0
    for folder, name in files:
        with open(os.path.join(ROOT, folder, name), encoding="latin-1") as f:
            text = f.read()
        src = module(folder, name)
        edges.setdefault(src, set())
        for included in INCLUDE.findall(text):
            base = os.path.basename(included)
            # Prefer the file of the same folder, as the compiler's quoted search does.
            homes = by_name.get(base, [])
            if not homes:
                continue
            home = folder if folder in homes else homes[0]
            file_edges.append((folder, name, home, base))
            dst = module(home, base)
            if dst != src:
                edges[src].add(dst)

    upward = []
    for folder, name, home, base in file_edges:
        if folder == home:
            continue
        g1, r1 = LAYERS[folder]
        g2, r2 = LAYERS[home]
        if (folder, home) in SIDE_BY_SIDE:
            upward.append((folder, name, home, base, "beside"))
        elif g1 != g2:
            upward.append((folder, name, home, base, "across"))
        elif r2 >= r1:
            upward.append((folder, name, home, base, "upward"))
        elif folder == "Tools/Tarvel/Host" and r2 == 1 and base not in HOST_MAY_INCLUDE:
            upward.append((folder, name, home, base, "past the panels' records"))

    # Loops: strongly connected parts of the module graph with more than one module.
    index, low, on_stack, stack, loops = {}, {}, set(), [], []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                part.append(w)
                if w == v:
                    break
            if len(part) > 1:
                loops.append(sorted(part))

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)

    if show_edges:
        for src in sorted(edges):
            for dst in sorted(edges[src]):
                print(f"edge  {src} -> {dst}")
    n_edges = sum(len(d) for d in edges.values())
    print(f"{len(files)} files, {len(edges)} modules, {n_edges} include edges between modules")
    for part in sorted(loops):
        members = set(part)
        inner = [f"{a} -> {b}" for a in part for b in sorted(edges[a]) if b in members]
        print(f"loop  {' <-> '.join(part)}")
        for e in inner:
            print(f"        {e}")
        problems += 1
    for folder, name, home, base, why in sorted(upward):
        print(f"{why:<6}  {folder}/{name} includes {home}/{base}")
        problems += 1
    print(f"{len(loops)} loops, {len(upward)} includes against the layers")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
