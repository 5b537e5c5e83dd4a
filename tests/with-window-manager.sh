#!/bin/sh
# Runs a test program on an X server of its own with a window manager, for
# what only a real desktop shows. Skipped (77) where either is missing.
command -v xvfb-run >/dev/null && command -v openbox >/dev/null || exit 77
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c '
    openbox >/dev/null 2>&1 &
    manager=$!
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill $manager 2>/dev/null
    exit $status' with-window-manager "$@"
