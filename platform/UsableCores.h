// How many processors this process may run on: the affinity mask where the system has one (a
// program started under taskset or in a limited container sees fewer than the machine holds),
// otherwise the machine's count. At least 1.
#pragma once

int UsableCoreCount();
