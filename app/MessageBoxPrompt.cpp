#include "MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace rova {

void MessageBoxPrompt::showWarning(const QString& message) {
    QMessageBox::warning(parent_(), QApplication::applicationName(), message);
}

Answer MessageBoxPrompt::ask(const QString& message, Choices choices) {
    using Box = QMessageBox;
    switch (choices) {
        case Choices::OkCancel:
            return Box::warning(parent_(), QApplication::applicationName(), message,
                                Box::Ok | Box::Cancel) == Box::Ok
                       ? Answer::Ok
                       : Answer::Cancel;
        case Choices::YesNo:
            return Box::question(parent_(), QApplication::applicationName(), message,
                                 Box::Yes | Box::No) == Box::Yes
                       ? Answer::Yes
                       : Answer::No;
        case Choices::YesNoCancel:
            switch (Box::question(parent_(), QApplication::applicationName(), message,
                                  Box::Yes | Box::No | Box::Cancel)) {
                case Box::Yes:
                    return Answer::Yes;
                case Box::No:
                    return Answer::No;
                default:
                    return Answer::Cancel;
            }
    }
    return Answer::Cancel;
}

}  // namespace rova
