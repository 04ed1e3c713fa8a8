#include "settings/passwordthrottle.h"

int PasswordThrottle::delayMs(int failures)
{
    if (failures < freeTries)
        return 0;
    int delay = firstDelayMs;
    for (int extra = failures - freeTries; extra > 0 && delay < longestDelayMs; --extra)
        delay *= 2;
    return delay < longestDelayMs ? delay : longestDelayMs;
}
