// The smallest GUI program built the way the tool is: the baseline of the start-up benchmark.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
