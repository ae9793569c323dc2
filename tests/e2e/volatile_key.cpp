// Test helper: creates a volatile key under HKEY_CURRENT_USER. Wine, like
// Windows, refuses to create a lasting key below a volatile one, which is how
// the end-to-end tests make the tool's registry store fail.
//
// volatile_key.exe SUBKEY
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: volatile_key.exe SUBKEY\n");
        return 2;
    }
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, argv[1], 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (rc != ERROR_SUCCESS) {
        std::fprintf(stderr, "RegCreateKeyExA failed: %ld\n", rc);
        return 1;
    }
    RegCloseKey(key);
    // A key that already existed keeps its lasting kind.
    std::printf("%s\n", disposition == REG_CREATED_NEW_KEY ? "created" : "existed");
    return disposition == REG_CREATED_NEW_KEY ? 0 : 1;
}
