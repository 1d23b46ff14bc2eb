/* Holds the Windows clipboard open, as a program that hangs in the middle of
 * a copy does, until it is ended: no other program can put anything on it.
 * Creates the file named by its argument once it holds it. Built and started
 * by check-wine-print. */
#include <windows.h>

int main(int argc, char** argv) {
    /* Opened for a window: Wine lets others open it when it is held by none. */
    HWND owner = CreateWindowA("STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    if (argc < 2 || !OpenClipboard(owner))
        return 1;
    CloseHandle(CreateFileA(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    Sleep(INFINITE);
    return 0;
}
