#include "DocumentListEntry.h"

namespace rova {

int compareEntries(const DocumentListEntry& existing, const DocumentListEntry& added) {
    if (existing.orderKey != 0) {
        // Compared rather than subtracted: the difference of two keys can overflow.
        return existing.orderKey < added.orderKey ? -1
                                                  : (existing.orderKey > added.orderKey ? 1 : 0);
    }
    return QString::compare(existing.path, added.path, Qt::CaseInsensitive);
}

}  // namespace rova
