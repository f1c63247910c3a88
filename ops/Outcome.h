// How a long operation, or one stage of it, ended. The compiler refuses a call that ignores it.
#pragma once

enum class [[nodiscard]] Outcome{
    kCompleted,  // the work is done; from the stop check: go on with the next unit
    kStopped,    // the user stopped it, and the stop actions have run
    kFailed,     // it could not do its work and has said so in a message box
};
