# steady_data_name.cmake: run in the web build's folder after the link. Emscripten's file packager
# names moonstruck.data in moonstruck.js with a random identifier (for a cache the page does not
# use); the data's own hash takes its place, so that the same tree gives the same files.
file(SHA256 moonstruck.data hash)
string(SUBSTRING "${hash}" 0 32 id)
file(READ moonstruck.js js)
string(REGEX REPLACE "\"package_uuid\":\"[^\"]*\"" "\"package_uuid\":\"${id}\"" js "${js}")
file(WRITE moonstruck.js "${js}")
