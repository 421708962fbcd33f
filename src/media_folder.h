// media_folder.h: where this system keeps the game's media folder, and what to tell a player
// who has none there.
#pragma once

#include <string>

// the media folder's full path, written the system's way in UTF-8: beside the program on
// Windows, in the working folder elsewhere
std::string media_folder();
// the file NAME ("sane/ship.bmp") in FOLDER, written the system's way
std::string media_file(const std::string &folder, const char *name);
// what the player can do about a missing media folder
extern const char *const MEDIA_FOLDER_ADVICE;
