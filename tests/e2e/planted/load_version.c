/* Loads version.dll by bare name, with no restriction of the search: the program's own folder
 * comes first, so a version.dll planted there is the one loaded. Exit code 0 when a DLL of that
 * name was loaded. */
#include <windows.h>

int main(void) { return LoadLibraryW(L"version.dll") ? 0 : 1; }
