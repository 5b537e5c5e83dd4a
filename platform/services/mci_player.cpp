#include "mci.h"

uint32_t desktopMciSendString(const AnsiString &, char *reply, size_t replySize) {
    if (reply && replySize > 0)
        reply[0] = '\0';
    return 263; // no such device
}
