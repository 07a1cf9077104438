#pragma once
// Disk, printer and device work off the window's thread.
#include <functional>

class QObject;

namespace fw {

// What a piece of background work hands back: run on the window's thread once it is done.
using Continuation = std::function<void()>;

// Runs `work` on a thread of its own and then the continuation it returns on the thread of
// `context`, unless `context` is gone by then. Nothing waits for the thread; the work ends by
// itself, within its own timeouts.
void RunInBackground(QObject& context, std::function<Continuation()> work);

}  // namespace fw
