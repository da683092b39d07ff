"""`ludora [FILE]` started as users start it: each row of the table is the real program in a
process of its own, read from outside (its output and exit status, or its windows over the
AT-SPI bus).

Run by run-atspi-tests, which gives the program in LUDORA_PROGRAM, its working folder in
LUDORA_FILES, and the process id of the instance it started with no argument in LUDORA_PID.
"""

import os
import subprocess
import sys

from atspi_support import (CAPTIONS, Program, check, collection_file, do, find_all, run_cases,
                           list_items, names, the, wait_for)

PROGRAM = os.environ["LUDORA_PROGRAM"]
FILES = os.environ["LUDORA_FILES"]
GAMES = {"N64": ["Alpha", "Beta"], "TG16": ["Gamma"]}
USAGE = "Usage: "

# Arguments, then what shows: the lists, or a message naming a file, or the output.
ROWS = [
    ("no argument", None, {"lists": {}}),
    ("one good file", ["games.LDX"], {"lists": GAMES}),
    ("missing file", ["missing.LDX"], {"message": "missing.LDX"}),
    ("short file", ["short.LDX"], {"message": "short.LDX"}),
    ("a spreadsheet of games: imported", ["games.csv"],
     {"summary": "2 games read", "lists": {"N64": ["Super Mario 64"], "TG16": ["Bonk"]}}),
    ("two files", ["games.LDX", "games.LDX"], {"status": 2, "stderr": USAGE}),
    ("unknown option", ["--frobnicate", "games.LDX"], {"status": 2, "stderr": USAGE}),
    ("--help without a display", ["--help"], {"status": 0, "stdout": USAGE, "bare": True}),
    ("--version without a display", ["--version"],
     {"status": 0, "stdout": "Ludora 2.0.1\n", "bare": True}),
]


def expect_lists(main, lists):
    for caption in CAPTIONS:
        wait_for(f"names in the list {caption}",
                 lambda: list_items(the(main, "list", caption)), lists.get(caption, []))


def expect_message(program, file_name):
    """Open's message naming the file, by its full path; OK leaves the empty collection."""
    box = program.window("alert", "Ludora")
    text = " ".join(names(find_all(box, "label")))
    path = os.path.join(FILES, file_name)
    check(f"the message names {path}", True, path in text)
    do(the(box, "push button", "OK"))
    program.wait_window_gone("alert", "Ludora")
    expect_lists(program.window("frame", "Ludora"), {})
    check("the program still runs", True, program.running())


def run_row(arguments, expected):
    if arguments is None:
        program = Program(int(os.environ["LUDORA_PID"]))
        expect_lists(program.window("frame", "Ludora"), expected["lists"])
        check("windows", ["Ludora"], names(program.windows()))
        return
    env = dict(os.environ)
    if expected.get("bare"):
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
    if "status" in expected:
        done = subprocess.run([PROGRAM, *arguments], cwd=FILES, env=env, capture_output=True,
                              text=True, timeout=60)
        check("exit status", expected["status"], done.returncode)
        for stream, output in (("stdout", done.stdout), ("stderr", done.stderr)):
            wanted = expected.get(stream)
            if wanted is None:
                check(f"nothing on {stream}", "", output)
            else:
                check(f"{stream} holds {wanted!r}", True, wanted in output)
        return
    process = subprocess.Popen([PROGRAM, *arguments], cwd=FILES, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        program = Program(process.pid)
        if "message" in expected:
            expect_message(program, expected["message"])
        elif "summary" in expected:
            box = program.window("alert", "Ludora")
            text = " ".join(names(find_all(box, "label")))
            check(f"the summary says {expected['summary']!r}", True, expected["summary"] in text)
            do(the(box, "push button", "OK"))
            expect_lists(program.window("frame", "Ludora"), expected["lists"])
        else:
            expect_lists(program.window("frame", "Ludora"), expected["lists"])
            check("windows", ["Ludora"], names(program.windows()))
    finally:
        process.terminate()
        process.wait(timeout=30)


def main():
    with open(os.path.join(FILES, "games.LDX"), "wb") as f:
        f.write(collection_file(GAMES))
    with open(os.path.join(FILES, "games.csv"), "w") as f:
        f.write("Title,Platform\nSuper Mario 64,Nintendo 64\nBonk,TG-16\n")
    with open(os.path.join(FILES, "short.LDX"), "wb") as f:
        f.write(collection_file({})[:30])
    return run_cases([(name, lambda a=arguments, e=expected: run_row(a, e))
                      for name, arguments, expected in ROWS])

if __name__ == "__main__":
    sys.exit(main())
