#!/usr/bin/env bash
# The size of the bootstrapper without payload, in bytes (printed last).
. "$(dirname "$0")/../support/setup-e2e.sh"
[ -f "$STUB" ] || fail "no stub at $STUB: build the windows preset first"
echo "stub: $STUB"
echo "stub size bytes: $(stat -c %s "$STUB")"
