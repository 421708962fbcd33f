# env.sh: Debian's Emscripten as the web build uses it, offline: its JavaScript tools find the
# system's Node.js modules (acorn); its libraries come ready built in its own cache
export NODE_PATH=/usr/share/nodejs
