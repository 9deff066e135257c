#include "program.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

int main(int argc, char** argv)
{
#ifdef M_MMAP_THRESHOLD
    // Every HELP round trip frees a main window's field image and backing
    // store, a megabyte or more each, and allocates new ones. Left to
    // itself glibc raises its mmap threshold after the first such free and
    // then serves them from the heap, which it seldom hands back, so a long
    // lesson would creep upwards. A fixed threshold keeps them in mappings
    // of their own, returned to the system when a window goes.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    endProcess(runTorvikan(argc, argv));
}
