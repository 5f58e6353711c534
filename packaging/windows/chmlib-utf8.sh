#!/usr/bin/env bash
# chmlib on Windows opens the help with CreateFileA, in the system's code
# page: a name beyond it (C:\Users\Nicolò\…) cannot be opened. This makes
# chm_open take the name in UTF-8 and open it with the wide call, shared for
# reading (the help may be open twice).
set -euo pipefail
f="$1"
grep -q chm_CreateFileUtf8 "$f" && exit 0
grep -q 'CreateFileA(filename,' "$f" || { echo "$f: no CreateFileA(filename, to replace" >&2; exit 1; }
perl -0pi -e 's{/\* open an ITS archive \*/}{#ifdef WIN32
/* The name in UTF-8, opened with the wide call. */
static HANDLE chm_CreateFileUtf8(const char *name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                 DWORD disposition, DWORD flags, HANDLE model)
{
    wchar_t *wide;
    HANDLE h;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, NULL, 0);
    if (n <= 0)
        return INVALID_HANDLE_VALUE;
    wide = (wchar_t *)malloc((size_t)n * sizeof(wchar_t));
    if (wide == NULL)
        return INVALID_HANDLE_VALUE;
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide, n);
    h = CreateFileW(wide, access, share | FILE_SHARE_READ, sa, disposition, flags, model);
    free(wide);
    return h;
}
#endif

/* open an ITS archive */}; s{CreateFileA\(filename,}{chm_CreateFileUtf8(filename,}' "$f"
