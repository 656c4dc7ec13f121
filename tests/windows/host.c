/* A host as the graphical front end is one: loads korden.dll from its own folder by name, looks up
 * IKORDEN, calls it once under the standard Windows calling convention with NAMES.dat in the
 * working folder, and ends with the engine's return value (100 and up: the DLL or its entry point
 * could not be had). */
#include <stdint.h>
#include <stdio.h>
#include <windows.h>

typedef int32_t(__stdcall *KordenEntry)(int32_t host_arg1, int32_t host_arg2);

int main(void) {
  HMODULE library = LoadLibraryA("korden.dll");
  if (library == NULL) {
    fprintf(stderr, "host: cannot load korden.dll (error %lu)\n", (unsigned long)GetLastError());
    return 100;
  }
  FARPROC found = GetProcAddress(library, "IKORDEN");
  if (found == NULL) {
    fprintf(stderr, "host: korden.dll has no IKORDEN (error %lu)\n", (unsigned long)GetLastError());
    FreeLibrary(library);
    return 101;
  }
  /* Through void (*)(void), the generic function pointer type, as FARPROC has no prototype. */
  const KordenEntry entry = (KordenEntry)(void (*)(void))found;
  const int32_t code = entry(1, 2);
  FreeLibrary(library);
  return (int)code;
}
