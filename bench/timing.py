"""Times one process of the bench: wall and CPU seconds and peak memory."""

import os
import subprocess
import sys
import time


def timed(command, cwd, ok=(0,)):
    """Wall seconds, CPU seconds and max RSS (MiB) of one run of command in
    cwd; exits the bench when its status is not in ok."""
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    err = process.stderr.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code not in ok:
        sys.exit("%s failed (%d): %s" % (" ".join(command), code, err.decode(errors="replace")))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024
