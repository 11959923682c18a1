#!/usr/bin/env bash
# Installs the browser tests' npm packages (playwright-core, jQuery,
# axe-core) as pinned by the lock file, again when the lock file changed or
# Node.js did. Node.js 18 (Debian 12's) or later.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
node_major=$(node -p 'process.versions.node.split(".")[0]')
if [ "$node_major" -lt 18 ]; then
  echo "Node.js $(node --version) is too old: the browser test needs 18 or later" >&2
  exit 1
fi
stamp=$here/node_modules/.installed-for
if [ ! -f "$here/node_modules/.package-lock.json" ] ||
   [ "$here/package-lock.json" -nt "$here/node_modules/.package-lock.json" ] ||
   [ "$(cat "$stamp" 2>/dev/null)" != "$(node --version)" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
  node --version >"$stamp"
fi
