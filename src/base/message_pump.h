// The window-message pump used while the setup works without returning to its message
// loop (extracting, waiting for a program, letting the splash stand).
#pragma once

namespace kvb {

// Dispatches the window messages waiting for the calling thread. A quit request is put
// back, so the owner's message loop still sees it; the result is then false, and the
// caller should stop waiting. Nothing to do on the host.
bool ProcessPendingMessages();

}  // namespace kvb
