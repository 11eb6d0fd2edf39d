// Sub-command 2: reads the acceptor's log page by page into the run's
// pstrBufferProg and ends with the log dump file. Page 0 tells how many
// pages there are.
#pragma once

#include "link/com_thread.h"

void HandleReadLog(RunState& run);

// The page total page 0 announces (bytes 226-227 + 2), held to the pages
// a 16-bit page number can name.
int PageTotalFromPageZero(const uint8_t* page);
