#include "platform/threads_win.h"

unsigned ProcessorCount()
{
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    return system.dwNumberOfProcessors > 0 ? static_cast<unsigned>(system.dwNumberOfProcessors) : 1u;
}
