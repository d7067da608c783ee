#pragma once

#include <QStringList>
#include <QTextStream>

#include <optional>

namespace rova {

// `rova-cli picture IN -o OUT.bmp [--rows N]`: saves the lamp picture the rotor would show for
// IN as a BMP. A picture is loaded and rebuilt at N rows (default: its height, at most 16) as
// the picture editor does; a ".txt" or ".rtf" file is read as a document reads it, rendered at
// full size and cropped to its lit lamps as the editor's Copy Text does, then rebuilt at N rows
// when they are given.
struct PictureRequest {
    QString input;
    QString output;
    std::optional<int> rows;
};
// The request the words after "picture" make; nothing when they are a usage error.
std::optional<PictureRequest> parsePicture(const QStringList& words);
// Makes and saves the lamp picture. Returns the exit status.
int runPicture(const PictureRequest& request, QTextStream& errors);

}  // namespace rova
