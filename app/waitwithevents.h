#pragma once

// Pauses the caller for ms milliseconds while the event loop keeps running, so long loops
// on the GUI thread leave the interface responsive.
void waitWithEvents(unsigned ms);
