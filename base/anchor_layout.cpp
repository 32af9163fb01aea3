#include "base/anchor_layout.h"

AnchorRect AnchoredRect(const AnchorRect &initial, unsigned flags, int dx, int dy) {
  AnchorRect r = initial;
  if ((flags & kAnchorMoveX) != 0) {
    r.left += dx;
    r.right += dx;
  } else if ((flags & kAnchorGrowX) != 0) {
    r.right += dx;
  }
  if ((flags & kAnchorMoveY) != 0) {
    r.top += dy;
    r.bottom += dy;
  } else if ((flags & kAnchorGrowY) != 0) {
    r.bottom += dy;
  }
  return r;
}
