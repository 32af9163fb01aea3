#!/usr/bin/env python3
"""Writes an import library in LLVM's short form for one system DLL, from the names that
mingw-w64's import library of it offers. lld drops a short-form import that nothing live calls;
a name pulled from a long-form library stays in the import table even when the code calling it
is discarded. Exports offered without a call thunk are data and stay so.

usage: import-library.py <llvm-dlltool> <nm> <mingw import library> <i386|i386:x86-64> <dll>
                         <output library>
"""
import subprocess
import sys


def main():
    dlltool, nm, source, machine, dll, output = sys.argv[1:]
    names = subprocess.run([nm, "--defined-only", "--format=just-symbols", source],
                           check=True, capture_output=True, text=True).stdout.split()
    # i386 decorates C names with an underscore: the thunk "_f@4" imports "__imp__f@4".
    prefix = "_" if machine == "i386" else ""
    thunks = {name[len(prefix):] for name in names if name.startswith(prefix)
              and not name.startswith("__imp_") and not name.startswith(".")}
    imports = sorted({name[len("__imp_" + prefix):] for name in names
                      if name.startswith("__imp_" + prefix)})
    lines = ["LIBRARY " + dll, "EXPORTS"]
    lines += [name + ("" if name in thunks else " DATA") for name in imports]
    definition = output + ".def"
    with open(definition, "w", encoding="ascii") as file:
        file.write("\n".join(lines) + "\n")
    # -k: the DLL exports the undecorated name ("f" for "_f@4").
    subprocess.run([dlltool, "-m", machine, "-k", "-d", definition, "-l", output], check=True)


if __name__ == "__main__":
    main()
