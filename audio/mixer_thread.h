#pragma once

// The mixer thread: looks at the device's play position about every 2 ms and renews the next block as
// soon as the device has moved past it, until stopRequested is set. Started by audioInit.
void mixerThread();
