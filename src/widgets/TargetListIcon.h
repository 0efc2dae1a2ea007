#pragma once

#include <QIcon>
#include <QImage>

class CPageTarget;
class CPageTargetArray;

// The 16x16 list image of a page target: a black frame around
// - for a group whose members (the first 14 of its member list) include some with dispatch
//   ranges: a white field with one bar in the member's colour per such member, two pixels wide,
//   seven bars to a row (full height for a list of fewer than eight names, else half height);
// - otherwise: a field in the target's colour, crossed from top left to bottom right by a band
//   in the target's text colour when the target itself has no range.
// Members are found by name in `targets`. Read the targets on the user-interface thread or under
// the targets lock.
QImage TargetListImage(const CPageTarget& target, const CPageTargetArray& targets);
QIcon TargetListIcon(const CPageTarget& target, const CPageTargetArray& targets);
