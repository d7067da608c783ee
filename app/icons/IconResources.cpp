#include "IconResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the generated registration function in the enclosing namespace, so it
// has to be used at global scope.
static void registerIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace rova {

void initIconResources() {
    registerIconResources();
}

}  // namespace rova
