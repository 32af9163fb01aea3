// Anchoring of a resizable dialog's controls: each control keeps its initial rectangle and
// moves or grows by the whole change of the client size along the axes its flags name.
#pragma once

enum AnchorFlags : unsigned {
  kAnchorMoveX = 1,
  kAnchorMoveY = 2,
  kAnchorGrowX = 4,
  kAnchorGrowY = 8,
};

struct AnchorRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const AnchorRect &o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct Anchor {
  int id;
  unsigned flags;
};

// The rectangle of a control whose initial rectangle was initial, for a client area dx wider
// and dy taller than the initial one.
AnchorRect AnchoredRect(const AnchorRect &initial, unsigned flags, int dx, int dy);
