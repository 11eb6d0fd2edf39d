// Sub-command 2: reads the acceptor's log page by page into the run's
// pstrBufferProg and ends with the log dump file. Page 0 tells how many
// pages there are.
#pragma once

#include "link/com_thread.h"

void HandleReadLog(RunState& run);

// Log dump files written so far by this program, for a front end that
// needs to know whether an export succeeded.
uint32_t LogDumpsWritten();

// The block for the pages is taken with new (nothrow); a test that needs
// the allocation to fail puts its own here (it returns a new[] block or
// null; null restores the default).
using PageBlockAllocator = uint8_t* (*)(size_t bytes);
void SetPageBlockAllocatorForTesting(PageBlockAllocator allocator);

// The page total page 0 announces (bytes 226-227 + 2), held to the pages
// a 16-bit page number can name.
int PageTotalFromPageZero(const uint8_t* page);
