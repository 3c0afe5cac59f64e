#include "platform/qt/drop_args.h"

#include <initializer_list>
#include <utility>

#include "platform/qt/twips.h"

namespace tolvane {

namespace {

template <typename Flags, typename Flag>
std::int16_t Bits(Flags flags, std::initializer_list<std::pair<Flag, std::int16_t>> bits) {
    std::int16_t result = 0;
    for (const auto& [flag, bit] : bits) {
        if (flags.testFlag(flag)) result = static_cast<std::int16_t>(result | bit);
    }
    return result;
}

}  // namespace

std::optional<Qt::DropAction> AcceptedDropAction(Qt::DropActions offered) {
    if (offered.testFlag(Qt::CopyAction)) return Qt::CopyAction;
    if (offered.testFlag(Qt::LinkAction)) return Qt::LinkAction;
    return std::nullopt;
}

DropArgs MakeDropArgs(const QDropEvent& event, Qt::DropAction accepted) {
    return DropArgs{
        .effect = static_cast<std::int32_t>(accepted),
        .button = Bits(event.buttons(), {std::pair{Qt::LeftButton, std::int16_t{1}},
                                         {Qt::RightButton, 2},
                                         {Qt::MiddleButton, 4}}),
        .shift = Bits(event.modifiers(), {std::pair{Qt::ShiftModifier, std::int16_t{1}},
                                          {Qt::ControlModifier, 2},
                                          {Qt::AltModifier, 4}}),
        .x = TwipsFromPixels(event.position().x()),
        .y = TwipsFromPixels(event.position().y()),
    };
}

}  // namespace tolvane
