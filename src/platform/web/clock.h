// The web back end's time: the browser's high-resolution counter, or, when the page
// asks for a fixed step, a virtual counter that advances one step at every swap (so
// a test sees exactly the frames the native capture renders).
#pragma once

namespace platform::web {

// Called at every buffer swap, before the browser gets its turn.
void frameSwapped();

}  // namespace platform::web
