// media_folder.cpp: the media folder's place, per system.
#include "media_folder.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

const char *const MEDIA_FOLDER_ADVICE =
    "Unpack the whole zip and keep the media folder beside moonstruck.exe.";

static std::string utf8(const std::wstring &wide) {
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), wide.size(), nullptr, 0, nullptr, nullptr);
    std::string narrow(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), wide.size(), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

// the path of the program's own file, however long
static std::wstring program_path() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), path.size());
        if (length < path.size() || path.size() > UNICODE_STRING_MAX_CHARS) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: room for more
    }
}

// beside the program, whatever folder it was started in; the program's manifest makes UTF-8 the
// code page of the C library's file calls
std::string media_folder() {
    std::wstring folder = program_path();
    const size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return utf8(folder) + "media";
}

std::string media_file(const std::string &folder, const char *name) {
    std::string path = folder + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

#else
#include <unistd.h>

#ifdef __EMSCRIPTEN__
// the page packs the media folder into its data file, which is put at the root of the game's files
const char *const MEDIA_FOLDER_ADVICE =
    "Publish the whole web folder, moonstruck.data beside index.html.";
#else
const char *const MEDIA_FOLDER_ADVICE =
    "Start the game with ./play in its source folder, or with the moonstruck launcher once it is "
    "installed.";
#endif

std::string media_folder() {
    char here[4096];
    if (!getcwd(here, sizeof here))
        return "media";
    const std::string folder = here; // "/" for a game started from the root, as in a browser
    return folder + (folder.back() == '/' ? "" : "/") + "media";
}

std::string media_file(const std::string &folder, const char *name) {
    return folder + "/" + name;
}
#endif
