#include "ParameterFormText.h"

namespace rova {

QString ParameterFormText::createPlayerFailed() {
    return tr("There is not enough memory to create a player object.");
}

QString ParameterFormText::updatePlayerFailed() {
    return tr("There is not enough memory to update a player object.");
}

QString ParameterFormText::startText() {
    return tr("ROVA");
}

}  // namespace rova
