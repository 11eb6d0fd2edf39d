#include "demo/driver/cct_reply.h"

uint32_t SerialNumberFromReply(const CctReply& reply) {
    if (reply.length != 3 && reply.length != 4) return 0;
    uint32_t serial = 0;
    for (int i = reply.length - 1; i >= 0; --i) serial = (serial << 8) | reply.data[i];
    return serial;
}
