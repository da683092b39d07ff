"""A collection file opened the way a file manager opens it on a double-click (`gio open`,
which goes through the MIME database and the desktop entries) starts the installed Ludora,
and its lists show the file's names.

Run by run-atspi-tests with the installed program as its program, and with PATH and
XDG_DATA_DIRS leading to the installation; the instance the runner starts is not the one
looked at.
"""

import os
import signal
import subprocess
import sys

from atspi_support import Failure, Program, check, collection_file
from command_line import GAMES, expect_lists

FILES = os.environ["LUDORA_FILES"]


def main():
    path = os.path.join(FILES, "games.LDX")
    with open(path, "wb") as f:
        f.write(collection_file(GAMES))
    subprocess.run(["gio", "open", path], check=True, timeout=60)
    program = None
    try:
        program = Program(None, others={int(os.environ["LUDORA_PID"])})
        check("the program started", os.path.realpath(os.environ["LUDORA_PROGRAM"]),
              os.path.realpath(f"/proc/{program.pid}/exe"))
        expect_lists(program.window("frame", "Ludora"), GAMES)
    except Failure as failure:
        print(f"FAIL gio open {path}: {failure}")
        return 1
    finally:
        if program is not None:
            os.kill(program.pid, signal.SIGTERM)
    print(f"PASS gio open {path}: Ludora shows its lists")
    return 0


if __name__ == "__main__":
    sys.exit(main())
