// "Reference_Book.ref" in the current directory: read at start, written
// when the main window is destroyed.
#pragma once

// 0 read, 1 missing, 2 damaged; on 1 and 2 the book is empty.
int ReadReferenceBook();
// 0 written, or 1 with its message (an old file is then left as it was).
int WriteReferenceBook();
