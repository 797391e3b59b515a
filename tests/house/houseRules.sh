#!/usr/bin/env bash
# Rules of the source tree that the compiler does not see:
# - nothing below src/app includes src/app (an upward call is a hook registered at start-up);
# - the configuration is chosen by the build lists, never by the preprocessor in src/.
set -uo pipefail
src=${1:?source folder}
status=0
up=$(grep -rn --include='*.cpp' --include='*.h' --include='*.inc' '#include "app/' "$src" |
     grep -v "^$src/app/")
if [ -n "$up" ]; then
  echo "includes of src/app from below it:"
  echo "$up"
  status=1
fi
ifdefs=$(grep -rn 'MORVANE_EARLIER' "$src" --include='*.cpp' --include='*.h' --include='*.inc')
if [ -n "$ifdefs" ]; then
  echo "configuration chosen by the preprocessor in src/ (link a per-configuration file instead):"
  echo "$ifdefs"
  status=1
fi
exit $status
