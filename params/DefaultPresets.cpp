#include "DefaultPresets.h"

#include <QString>
#include <algorithm>
#include <vector>

namespace rova {

NodeList<Command> makeDefaultPresets() {
    struct Preset {
        const char* name;
        PlayerParameters parameters;
    };
    std::vector<Preset> presets;

    // The defaults of a new record: a steady picture as wide as its columns.
    presets.push_back({"Static", PlayerParameters{}});

    // Long text running right to left round the whole circle.
    PlayerParameters scrolling;
    scrolling.projections = 1;
    scrolling.origin = 180.0;
    scrolling.originAnchor = static_cast<std::uint32_t>(OriginAnchor::LeftEdge);
    scrolling.originSpeed = -40.0;
    scrolling.playerFlags = PlayerFlags::MirrorAtZero | PlayerFlags::AutoWidth | PlayerFlags::Fit;
    presets.push_back({"Scrolling - very long text", scrolling});

    PlayerParameters spinning;
    spinning.originSpeed = 90.0;
    spinning.projections = 3;
    spinning.playerFlags = PlayerFlags::Defaults & ~PlayerFlags::OriginSpring;
    presets.push_back({"Spinning", spinning});

    PlayerParameters bouncing;
    bouncing.originSpeed = 60.0;
    bouncing.projections = 1;
    bouncing.clipStart = 30.0;
    bouncing.clipEnd = 150.0;
    bouncing.playerFlags = PlayerFlags::MirrorAtZero | PlayerFlags::AutoWidth |
                           PlayerFlags::BounceAtStart | PlayerFlags::BounceAtEnd;
    presets.push_back({"Bouncing", bouncing});

    PlayerParameters flashing;
    flashing.flashing = 2.0;
    presets.push_back({"Flashing", flashing});

    PlayerParameters rising;
    rising.verticalSpeed = -8.0;
    presets.push_back({"Rising and falling", rising});

    PlayerParameters breathing;
    breathing.width = 60.0;
    breathing.widthSpeed = 40.0;
    breathing.widthAccel = 30.0;
    breathing.playerFlags = PlayerFlags::Defaults & ~PlayerFlags::AutoWidth;
    presets.push_back({"Breathing", breathing});

    std::sort(presets.begin(), presets.end(), [](const Preset& a, const Preset& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    NodeList<Command> list;
    for (const Preset& preset : presets) {
        auto command = std::make_unique<Command>();
        command->setKeyword(CommandKeyword(Keyword::Change));
        command->parameters() = preset.parameters;
        command->setName(preset.name, false);
        list.append(std::move(command));
    }
    return list;
}

}  // namespace rova
