/* Prints the version the installed library reports, to be compared with what
 * its package files say. */
#include <stdio.h>

#include "toolkit/tk.h"

int main(void)
{
    printf("%s\n", tkVersion());
    return 0;
}
