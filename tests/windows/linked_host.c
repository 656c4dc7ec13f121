/* A host that links korden.dll through its import library and the public header instead of
 * loading it by name: shows that korden.lib resolves IKORDEN (on x86 the decorated __stdcall name
 * of the header's declaration). Ends with the engine's return value. */
#include "korden.h"

int main(void) { return (int)IKORDEN(1, 2); }
