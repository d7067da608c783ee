#include "ShippedData.h"

#include <QTextCursor>
#include <algorithm>
#include <functional>

#include "CharacterFormat.h"
#include "CommandContent.h"
#include "ContentBuilder.h"
#include "Picture.h"
#include "PictureDC.h"
#include "RichTextDocument.h"
#include "SimulationGeometry.h"

namespace rova {

namespace {

// Lamp colours as text colours (0x00BBGGRR).
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kCyan = 0xFFFF00;
constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kYellow = 0x00FFFF;
constexpr std::uint32_t kWhite = 0xE0E0E0;

// A record with nothing switched on: each command below turns on what it shows.
PlayerParameters plainMotion() {
    PlayerParameters p;
    p.playerFlags = PlayerFlags::MirrorAtZero | PlayerFlags::WrapAround | PlayerFlags::AutoWidth;
    p.commandFlags = 0;
    p.projections = 1;
    return p;
}

// What the parameter form stores in a command whose content it has built: the height
// adjustment the Fit search found and, with Auto width, one lamp spacing of the default rotor
// per content column. A command keeps both when it is loaded again.
void storeBuiltGeometry(Command& command, const std::function<void(ParameterSet&)>& build) {
    ParameterSet set;
    set.parameters = command.parameters();
    build(set);
    applyAutoWidth(set, SimulationGeometry().degreesPerLampColumn());
    command.parameters() = set.parameters;
}

// One run of text in one colour at a size in points, in Arial.
struct TextRun {
    QString text;
    std::uint32_t colour;
};

std::unique_ptr<Command> textCommand(Keyword keyword, std::initializer_list<TextRun> runs,
                                     int points, const PlayerParameters& parameters) {
    RichTextDocument text;
    QTextCursor cursor(&text.document());
    for (const TextRun& run : runs) {
        CharacterFormat format;
        format.mask = CharacterFormat::kAll;
        format.effects = CharacterFormat::kBold;
        format.height = points * 20;
        format.colour = run.colour;
        format.face = QStringLiteral("Arial");
        cursor.insertText(run.text, toTextCharFormat(format));
    }
    auto command = std::make_unique<Command>();
    command->parameters() = parameters;
    command->setKeyword(CommandKeyword(keyword));
    takeText(*command, text);
    storeBuiltGeometry(*command, [&](ParameterSet& set) {
        buildTextContent(set, text.document(), text.defaultFormat());
    });
    return command;
}

// A 16 × 16 lamp picture of a smiling face.
std::unique_ptr<Command> smileyCommand(const PlayerParameters& parameters) {
    Picture face;
    face.createLamp(16, 16);
    static constexpr const char* kRows[16] = {
        ".....YYYYYY.....", "...YYYYYYYYYY...", "..YYYYYYYYYYYY..", ".YYYYYYYYYYYYYY.",
        ".YYYBBYYYYBBYYY.", "YYYYBBYYYYBBYYYY", "YYYYYYYYYYYYYYYY", "YYYYYYYYYYYYYYYY",
        "YYYYYYYYYYYYYYYY", "YYRYYYYYYYYYYRYY", "YYYRYYYYYYYYRYYY", ".YYYRRYYYYRRYYY.",
        ".YYYYYRRRRYYYYY.", "..YYYYYYYYYYYY..", "...YYYYYYYYYY...", ".....YYYYYY.....",
    };
    for (int y = 0; y < 16; ++y) {
        const auto row = face.row(y);
        for (int x = 0; x < 16; ++x) {
            // Lamp colour indices: bit 0 blue, bit 1 green, bit 2 red.
            switch (kRows[y][x]) {
                case 'Y':
                    row[x] = 6;
                    break;
                case 'B':
                    row[x] = 1;
                    break;
                case 'R':
                    row[x] = 4;
                    break;
                default:
                    row[x] = 0;
            }
        }
    }
    auto command = std::make_unique<Command>();
    command->parameters() = parameters;
    PictureState state;
    state.flags = 0;
    state.rows = 16;
    takePicture(*command, "smiley.bmp", state, face);
    storeBuiltGeometry(*command, [&](ParameterSet& set) { buildPictureContent(set, face, 16); });
    return command;
}

std::unique_ptr<Command> plainCommand(Keyword keyword, double nextAfter) {
    auto command = std::make_unique<Command>();
    command->setKeyword(CommandKeyword(keyword));
    command->parameters().nextCommandAfter = nextAfter;
    return command;
}

void dieAfter(PlayerParameters& p, double seconds, DeathType type) {
    p.commandFlags |= CommandFlags::DeathAfterEnabled;
    p.deathAfter = seconds;
    p.deathType = static_cast<std::uint32_t>(type);
}

}  // namespace

NodeList<Command> makeDemoSequence() {
    NodeList<Command> demo;

    // A steady title that fits the lamps and spreads round the circle twice.
    PlayerParameters title = plainMotion();
    title.playerFlags |= PlayerFlags::Fit;
    title.projections = 2;
    title.nextCommandAfter = 5.0;
    title.deathType = static_cast<std::uint32_t>(DeathType::DecimateFast);
    demo.append(
        textCommand(Keyword::Solo, {{"Welcome to ", kWhite}, {"Rova", kYellow}}, 12, title));

    // Scrolling text that wraps round the circle.
    PlayerParameters scroll = plainMotion();
    scroll.playerFlags |= PlayerFlags::Fit;
    scroll.originSpeed = -45.0;
    scroll.nextCommandAfter = 6.0;
    demo.append(textCommand(Keyword::Solo,
                            {{"16 lamps, 360 columns, ", kCyan}, {"persistence of vision", kGreen}},
                            12, scroll));

    // The same player, flashing faster and faster.
    PlayerParameters flashing = scroll;
    flashing.flashing = 1.0;
    flashing.flashingAccel = 0.5;
    flashing.nextCommandAfter = 4.0;
    auto change = plainCommand(Keyword::Change, 4.0);
    change->parameters() = flashing;
    change->setKeyword(CommandKeyword(Keyword::Change));
    change->setName("Faster and faster", false);
    demo.append(std::move(change));

    // Bouncing between the ends of a clip window.
    PlayerParameters bounce = plainMotion();
    bounce.playerFlags = PlayerFlags::MirrorAtZero | PlayerFlags::AutoWidth |
                         PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd | PlayerFlags::Fit;
    bounce.originAnchor = static_cast<std::uint32_t>(OriginAnchor::LeftEdge);
    bounce.origin = 40.0;
    bounce.originSpeed = 60.0;
    bounce.clipStart = 20.0;
    bounce.clipEnd = 200.0;
    bounce.nextCommandAfter = 6.0;
    demo.append(textCommand(Keyword::Solo, {{"Bounce", kMagenta}}, 12, bounce));

    // A spring pulling the text to the far side and back.
    PlayerParameters spring = plainMotion();
    spring.playerFlags |= PlayerFlags::OriginSpring | PlayerFlags::Fit;
    spring.origin = 270.0;
    spring.originAccel = 400.0;
    spring.nextCommandAfter = 5.0;
    demo.append(textCommand(Keyword::Solo, {{"Spring", kRed}}, 12, spring));

    // A repeat bracket: rising and falling text, then three spinning copies, twice over.
    demo.append(plainCommand(Keyword::Mark, 0.0));
    PlayerParameters rise = plainMotion();
    rise.playerFlags |= PlayerFlags::VerticalBounce | PlayerFlags::VerticalBounceCopy;
    rise.verticalSpeed = 12.0;
    rise.nextCommandAfter = 3.0;
    demo.append(textCommand(Keyword::Solo, {{"Up and down", kGreen}}, 8, rise));
    PlayerParameters spin = plainMotion();
    spin.playerFlags |= PlayerFlags::Fit;
    spin.projections = 3;
    spin.originSpeed = 90.0;
    spin.nextCommandAfter = 3.0;
    demo.append(textCommand(Keyword::Solo, {{"Spin", kBlue}, {"!", kWhite}}, 12, spin));
    auto repeat = plainCommand(Keyword::Repeat, 0.0);
    repeat->parameters().deathAfter = 3.0;  // for a repeat: the number of passes
    repeat->parameters().commandFlags = CommandFlags::DeathAfterEnabled;
    demo.append(std::move(repeat));

    // A picture in four projections, turning, then decimated away.
    PlayerParameters smiley = plainMotion();
    smiley.projections = 4;
    smiley.originSpeed = 45.0;
    smiley.nextCommandAfter = 6.0;
    dieAfter(smiley, 5.0, DeathType::DecimateSlow);
    demo.append(smileyCommand(smiley));

    // Mirroring: the width shrinks through zero and the text turns round, beside a second
    // player added on top.
    PlayerParameters mirror = plainMotion();
    mirror.playerFlags = PlayerFlags::MirrorAtZero | PlayerFlags::BounceAtZero |
                         PlayerFlags::WrapAround | PlayerFlags::Fit;
    mirror.width = 150.0;
    mirror.widthSpeed = -100.0;
    mirror.nextCommandAfter = 0.0;
    mirror.deathType = static_cast<std::uint32_t>(DeathType::DecimateSlow);
    demo.append(textCommand(Keyword::Solo, {{"Mirror", kCyan}}, 12, mirror));
    PlayerParameters below = plainMotion();
    below.playerFlags |= PlayerFlags::Fit;
    below.origin = 270.0;
    below.originSpeed = -30.0;
    below.nextCommandAfter = 7.0;
    below.deathType = static_cast<std::uint32_t>(DeathType::DecimateSlow);
    demo.append(textCommand(Keyword::New, {{"and more", kYellow}}, 12, below));

    // Every player decimates away over two seconds.
    demo.append(plainCommand(Keyword::KillAll, 2.0));
    return demo;
}

}  // namespace rova
