#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target obrel-dizivud obrel_program_folder
exec ./build/default/obrel-dizivud "$@"
