/* Another rand for the process, as any library could bring: preloaded into the
   capture (LD_PRELOAD), it answers the C library's rand and srand with a sequence
   of its own, and says on stderr that it is there. */
#include <stdio.h>

static unsigned int next = 7;

__attribute__((constructor)) static void announce(void) { fputs("other rand loaded\n", stderr); }

void srand(unsigned int seed) { next = seed * 2u + 7u; }

int rand(void)
{
    next = next * 1103515245u + 99991u;
    return (int)((next >> 8) % 32768u);
}
