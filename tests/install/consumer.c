/* A host linked against the installed engine: calls IKORDEN with NAMES.dat in the working
 * directory and ends with its return value. */
#include <korden/korden.h>

int main(void) { return (int)IKORDEN(1, 2); }
