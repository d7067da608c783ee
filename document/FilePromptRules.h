#pragma once

#include <QString>
#include <optional>

namespace rova {

// The default extension a file dialog's filter string names: its text from the last "." to
// the following "|" (".bmp" for "Bitmap Files (*.bmp)|*.bmp|"); empty when it has no ".".
QString defaultExtensionOf(const QString& filter);

// A chosen path checked against a default extension: a file name without an extension gets
// it appended, one with the same extension in any case is taken as it is. Nothing when the
// file name has another extension (the dialog then asks about it).
std::optional<QString> withDefaultExtension(const QString& path, const QString& extension);

}  // namespace rova
