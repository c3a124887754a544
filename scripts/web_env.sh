# Sourced by the browser build's scripts: the environment Debian's emscripten needs here. Its
# JavaScript optimizer finds its modules only with NODE_PATH; its tools run on Debian's own
# Python (the package's dependency), which starts faster than a python3 found elsewhere.
export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3
