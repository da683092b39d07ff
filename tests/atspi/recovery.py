"""The recovery copy, from outside: real programs killed with SIGKILL and started again,
driven over the AT-SPI bus; a data folder on a full disk (a small tmpfs, mounted as root).

Run by run-atspi-tests, which gives the program in LUDORA_PROGRAM, a private HOME (so the
data folder is this run's own), its working folder in LUDORA_FILES and, in LUDORA_PID, an
instance that keeps running beside the others: its copy must never be offered.
"""

import glob
import os
import signal
import subprocess
import sys
import time

from atspi_support import (Program, check, collection_file, do, do_modal, find_all, run_cases,
                           focus_window, keys, list_items, names, set_text, text_of,
                           the, type_text, wait_for, x_window)

PROGRAM = os.environ["LUDORA_PROGRAM"]
FILES = os.environ["LUDORA_FILES"]
COPIES = os.path.join(os.environ["HOME"], ".local", "share", "Ludora", "recovery")
GAMES = os.path.join(FILES, "games.LDX")
QUESTION = "Ludora closed without saving the changes to {}. Recover them?"


def copies(pid=None):
    return sorted(glob.glob(os.path.join(COPIES, f"Ludora-{pid or '*'}-*.LDX")))


def copy_holds(pid, name):
    for path in copies(pid):
        with open(path, "rb") as f:
            if f"TG16     {name}\r\n".encode() in f.read():
                return True
    return False


class Ludora:
    def __init__(self, arguments=(), pid=None, env=None):
        self.process = None
        if pid is None:
            self.process = subprocess.Popen([PROGRAM, *arguments], cwd=FILES, env=env,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            pid = self.process.pid
        self.program = Program(pid)
        self.pid = pid

    def main(self):
        return self.program.window("frame", "Ludora")

    def tg16(self):
        return list_items(the(self.main(), "list", "TG16"))

    def add_name(self, name):
        box = the(self.main(), "text", "Name to add to list:")
        set_text(box, name)
        wait_for("the name box", lambda: text_of(box), name)
        do(the(self.main(), "push button", "Add Name"))
        wait_for("the name box after Add Name", lambda: text_of(box), "")

    def question(self):
        """The text of the message box titled Ludora."""
        box = self.program.window("alert", "Ludora")
        return " ".join(n for n in names(find_all(box, "label")) if n)

    def press(self, title, button):
        do(the(self.program.window("alert", title), "push button", button))
        self.program.wait_window_gone("alert", title)

    def kill(self):
        wait_for("a copy of the last name", lambda: copy_holds(self.pid, self.last), True)
        os.kill(self.pid, signal.SIGKILL)
        self.process.wait(timeout=30)

    def add_and_kill(self, name):
        self.add_name(name)
        self.last = name
        self.kill()

    def exit_without_saving(self):
        do_modal(the(the(self.main(), "menu item", "File"), "menu item", "Exit"))
        self.press("Exit Ludora", "No")
        check("exit status", 0, self.process.wait(timeout=30))


def killed_and_recovered(running):
    """Killed after a change to an opened file; Yes brings back every name, the file name and
    the unsaved mark, and the file itself is as it was."""
    with open(GAMES, "wb") as f:
        f.write(collection_file({"TG16": ["Alpha"]}))
    with open(GAMES, "rb") as f:
        before = f.read()
    Ludora(["games.LDX"]).add_and_kill("Beta")
    again = Ludora()
    check("the question", QUESTION.format(GAMES), again.question())
    again.press("Ludora", "Yes")
    wait_for("the recovered list", again.tg16, ["Alpha", "Beta"])
    with open(GAMES, "rb") as f:
        check("the user's file is unchanged", before, f.read())
    # The file name came back: Close offers to save into it.
    do_modal(the(the(again.main(), "menu item", "File"), "menu item", "Close"))
    again.press("Close List", "Yes")
    wait_for("the emptied list", again.tg16, [])
    with open(GAMES, "rb") as f:
        check("Close saved into the recovered file name", collection_file(
            {"TG16": ["Alpha", "Beta"]}), f.read())
    again.add_name("Gamma")
    again.exit_without_saving()
    check("copies after a normal end", copies(), copies(running.pid))


def escape_asks_again(running):
    Ludora().add_and_kill("Epsilon")
    left = [c for c in copies() if c not in copies(running.pid)]
    later = Ludora()
    later.question()
    # The box and the main window share their title: the box is the newer X window.
    windows = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                              str(later.pid), "--name", "^Ludora$"], capture_output=True,
                             text=True).stdout.split()
    focus_window(max(windows, key=int))
    keys("Escape")
    later.program.wait_window_gone("alert", "Ludora")
    check("the list after Escape", [], later.tg16())
    check("the copy after Escape", True, all(os.path.exists(c) for c in left))
    later.process.terminate()
    later.process.wait(timeout=30)
    # Asked again at the next start; No deletes the copy.
    last = Ludora()
    check("the question again", QUESTION.format("a new collection"), last.question())
    last.press("Ludora", "No")
    check("copies after No", copies(), copies(running.pid))
    check("the list after No", [], last.tg16())
    last.process.terminate()
    last.process.wait(timeout=30)


def unwritable_folder(running):
    """A file where the data folder should be: one message, and the work goes on."""
    home = os.path.join(FILES, "blocked")
    os.makedirs(home, exist_ok=True)
    with open(os.path.join(home, "Ludora"), "w") as f:
        f.write("in the way\n")
    ludora = Ludora(env=dict(os.environ, XDG_DATA_HOME=home))
    ludora.add_name("Zeta")
    text = ludora.question()
    check("the message names the folder", True, os.path.join(home, "Ludora") in text)
    ludora.press("Ludora", "OK")
    ludora.add_name("Eta")
    wait_for("the list", ludora.tg16, ["Eta", "Zeta"])
    ludora.exit_without_saving()


def full_disk(running):
    """The data folder on a full disk: keys typed into Save As right after a change stay
    there; the notice comes once, after the dialog, with the system's reason; once space is
    freed, the next change is in the copy again and survives a kill."""
    if os.geteuid() != 0:
        print("SKIP full_disk: mounting a small disk needs root")
        return
    home = os.path.join(FILES, "full")
    os.makedirs(home, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", home], check=True)
    try:
        filler = os.path.join(home, "filler")
        subprocess.run(["dd", "if=/dev/zero", f"of={filler}", "bs=4k"], stderr=subprocess.DEVNULL)
        env = dict(os.environ, XDG_DATA_HOME=home)
        ludora = Ludora(env=env)
        ludora.add_name("Alpha")
        do_modal(the(ludora.main(), "push button", "Save"))
        dialog = ludora.program.window("dialog", "Save As")
        field = the(dialog, "text", "File name:")
        set_text(field, "")
        focus_window(x_window(ludora.pid, "Save As"))
        typed = os.path.join(FILES, "typed while the recovery copy fails.LDX")
        type_text(typed)
        wait_for("the path typed into Save As", lambda: text_of(field), typed)
        keys("Escape")
        ludora.program.wait_window_gone("dialog", "Save As")
        focus_window(x_window(ludora.pid, "Ludora"))  # a window manager would do it
        check("the notice names the reason", True,
              "No space left on device" in ludora.question())
        ludora.press("Ludora", "OK")
        os.remove(filler)
        ludora.add_name("Beta")
        time.sleep(3)
        check("one notice a run", [], [w for w in ludora.program.windows()
                                       if w.get_role_name() == "alert"])
        os.kill(ludora.pid, signal.SIGKILL)
        ludora.process.wait(timeout=30)
        again = Ludora(env=env)
        check("the question", QUESTION.format("a new collection"), again.question())
        again.press("Ludora", "Yes")
        wait_for("the recovered list", again.tg16, ["Alpha", "Beta"])
        again.exit_without_saving()
    finally:
        subprocess.run(["umount", home], check=True)


def main():
    # The instance the runner started keeps running, with a change of its own: the others
    # never offer its copy.
    running = Ludora(pid=int(os.environ["LUDORA_PID"]))
    running.add_name("Running")
    wait_for("the running program's copy", lambda: copy_holds(running.pid, "Running"), True)
    steps = [killed_and_recovered, escape_asks_again, unwritable_folder, full_disk]
    return run_cases([(step.__name__, lambda step=step: step(running)) for step in steps])

if __name__ == "__main__":
    sys.exit(main())
