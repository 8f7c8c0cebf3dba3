// The unlock check. The sequence never has a key twice in a row: the key history
// drops a press equal to its newest entry, so such a sequence could never match.
#include "hunt/unlock.h"

#include "app/input.h"
#include "hunt/flock.h"

namespace {

constexpr std::int32_t sequence[keyHistoryLength] = {'J', 'A', 'E', 'G', 'E', 'R'};

}  // namespace

bool matchesUnlockSequence(const std::int32_t (&history)[6])
{
    for (int i = 0; i < keyHistoryLength; ++i)
        if (history[i] != sequence[i]) return false;
    return true;
}

void checkUnlock(Flock& flock)
{
    if (!matchesUnlockSequence(input.keyHistory)) return;
    flock.invitationMode = false;
    clearKeyHistory();
}
