#pragma once

#include <QCoreApplication>
#include <QString>

#include <string_view>

namespace rova {

// Every text the parameter form shows, in one place.
class ParameterFormText {
    Q_DECLARE_TR_FUNCTIONS(ParameterFormText)

  public:
    static QString createPlayerFailed();
    static QString updatePlayerFailed();
    // What the rotor shows when the application starts without a document from the playlist.
    static QString startText();
};

// Names of presets the program itself uses or gives. They are matched against the names the
// user gave, so they are never translated.
namespace preset_name {
// Default parameters, and the start-up text.
inline constexpr std::string_view kStatic = "Static";
// Text and rich-text files opened as documents.
inline constexpr std::string_view kScrolling = "Scrolling - very long text";
// A preset just stored, until the user names it.
inline constexpr std::string_view kNew = "*** new preset ***";
}  // namespace preset_name

}  // namespace rova
