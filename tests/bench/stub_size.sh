#!/usr/bin/env bash
# The size of the bootstrapper as it ships (the 32-bit build), without payload, in bytes (printed
# last), after the ten largest contributors of its link map. Fails above its budget of 64 KB.
. "$(dirname "$0")/../support/setup-e2e.sh"
stub=$TESSARA_ROOT/build/windows/app/tessara-stub.exe
limit=66048
[ -f "$stub" ] || fail "no stub at $stub: build the windows preset first"
echo "stub: $stub"
if [ -f "$stub.map" ]; then
  echo "largest contributors (bytes, input section):"
  # Map lines "address size align file:(section)"; a function's section is named after it.
  python3 -c '
import re, sys
rows = []
for line in open(sys.argv[1]):
    m = re.match(r"^[0-9a-f]+ ([0-9a-f]+) +\d+ +(\S+):\((\.\w+)\$?(.*)\)$", line)
    if m:
        rows.append((int(m.group(1), 16), m.group(3), m.group(4) or m.group(2)))
for size, kind, name in sorted(rows, reverse=True)[:10]:
    print("  %6d %s %s" % (size, kind, name))
' "$stub.map" | c++filt
fi
size=$(stat -c %s "$stub")
[ "$size" -le "$limit" ] || fail "the stub is $size bytes, above its budget of $limit"
echo "stub size bytes: $size"
