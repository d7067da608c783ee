#pragma once

#include <QIcon>

namespace rova {

// The 16 × 16 icon of a keyword index (0 to 6, in keyword order), shown by the command list and
// the command type box; a null icon for any other index.
QIcon keywordIcon(int index);

}  // namespace rova
