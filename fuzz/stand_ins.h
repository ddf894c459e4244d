// What the fuzz target can see of its stand-in run time.
#pragma once

// Texts allocated and not yet released.
long StandInOutstanding();
