#pragma once

// Why a saved game or a replay code was not used: a kind, which the page puts into each of its
// languages as a sentence of its own, and the details in English, which the replay runner prints.
#include <string>
#include <utility>

namespace game {

// The page reads these numbers (web/main.cpp hands them over as they are): keep each one.
enum RefusalKind : int {
    RefusalNone = 0,
    RefusalNotOurs = 1,     // not a saved game or not a replay code of Vorkelm at all
    RefusalDamaged = 2,     // one of ours, cut short or changed on the way
    RefusalTooLong = 3,     // longer than anything the game writes
    RefusalNewer = 4,       // written by a newer version of the game (its format or its rules)
    RefusalOtherRules = 5,  // a game played under rules this version does not play
    RefusalBeyondPlay = 6,  // whole and ours, but holding what no play reaches
};

struct Refusal {
    RefusalKind kind = RefusalNone;
    std::string detail; // a phrase such as "the save is damaged: its checksum does not match"

    bool Refused() const { return kind != RefusalNone; }
};

inline Refusal Refuse(RefusalKind kind, std::string detail)
{
    return Refusal{kind, std::move(detail)};
}

} // namespace game
