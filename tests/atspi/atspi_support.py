"""Finding and driving Ludora's windows over the AT-SPI bus, as a screen reader does.

Every wait polls against a deadline; a wait that runs out raises Failure with what was
expected and what was found last.
"""

import os
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# How long any one effect may take to show.
DEADLINE = float(os.environ.get("LUDORA_ATSPI_DEADLINE", "15"))
# Ordinary calls; a call that opens a modal dialog gets MODAL_CALL_MS instead, as it is
# answered only when the dialog closes.
CALL_MS = 10000
MODAL_CALL_MS = 300
STARTUP_MS = 15000

CAPTIONS = ["N64", "JAGUAR", "TG16"] + [f"UserDef{i}" for i in range(3, 25)]


class Failure(Exception):
    pass


def check(what, expected, found):
    if expected != found:
        raise Failure(f"{what}:\n    expected {expected!r}\n    found    {found!r}")


def wait_for(what, probe, expected=True, deadline=DEADLINE):
    """Polls probe() until it returns `expected`; returns the value."""
    end = time.monotonic() + deadline
    found = None
    while True:
        try:
            found = probe()
        except GLib.Error as error:  # the object went away or is being rebuilt
            found = f"<error: {error.message}>"
        if found == expected:
            return found
        if time.monotonic() > end:
            raise Failure(
                f"{what} (waited {deadline:g} s):\n    expected {expected!r}\n"
                f"    found    {found!r}")
        time.sleep(0.05)


def wait_until(what, probe, deadline=DEADLINE, seen=None):
    """Polls probe() until it returns something other than None; returns it. On failure,
    seen() tells what there was instead."""
    end = time.monotonic() + deadline
    while True:
        try:
            found = probe()
        except GLib.Error:
            found = None
        if found is not None:
            return found
        if time.monotonic() > end:
            instead = f"\n    found    {seen()!r}" if seen else ""
            raise Failure(f"{what}: not found within {deadline:g} s{instead}")
        time.sleep(0.05)


def collection_file(lists):
    """The bytes of a collection file holding these lists ({caption: [names]})."""
    lines = list(CAPTIONS)
    for caption in CAPTIONS:
        lines += [caption[:9].ljust(9) + name for name in lists.get(caption, [])]
    lines.append("\x1a")
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


# --- reading the tree -------------------------------------------------------------------

def children(obj):
    result = []
    for i in range(obj.get_child_count()):
        child = obj.get_child_at_index(i)
        if child is not None:
            result.append(child)
    return result


def descendants(obj):
    """Every object below obj, breadth first."""
    queue = children(obj)
    while queue:
        current = queue.pop(0)
        yield current
        queue.extend(children(current))


def find(root, role, name=None):
    """The first object below root with this role (and name, when given), or None."""
    for obj in descendants(root):
        if obj.get_role_name() == role and (name is None or obj.get_name() == name):
            return obj
    return None


def find_all(root, role):
    return [obj for obj in descendants(root) if obj.get_role_name() == role]


def the(root, role, name):
    """The object, waiting for it to appear."""
    return wait_until(f"{role} {name!r}", lambda: find(root, role, name))


def states(obj):
    return {Atspi.StateType(s).value_nick for s in obj.get_state_set().get_states()}


def has_state(obj, state):
    return state in states(obj)


def names(objs):
    return [obj.get_name() for obj in objs]


def action_names(obj):
    if not obj.get_action_iface():
        return []
    return [Atspi.Action.get_action_name(obj, i) for i in range(Atspi.Action.get_n_actions(obj))]


def text_of(obj):
    return Atspi.Text.get_text(obj, 0, Atspi.Text.get_character_count(obj))


def list_items(lst):
    return names(obj for obj in children(lst) if obj.get_role_name() == "list item")


# --- acting -----------------------------------------------------------------------------

def do(obj, action="Press"):
    """Runs a named action; fails when the object does not offer it."""
    offered = action_names(obj)
    if action not in offered:
        raise Failure(f"{obj.get_role_name()} {obj.get_name()!r} offers no {action!r} "
                      f"action (it offers {offered})")
    return Atspi.Action.do_action(obj, offered.index(action))


def do_modal(obj, action="Press"):
    """Runs an action that opens a modal dialog: its answer only comes once the dialog has
    closed, so the call is not waited for."""
    # No grace time for a program that has just started either.
    Atspi.set_timeout(MODAL_CALL_MS, 0)
    try:
        do(obj, action)
    except GLib.Error:
        pass  # no reply yet: the dialog is open
    finally:
        Atspi.set_timeout(CALL_MS, STARTUP_MS)


def set_text(obj, text):
    if not Atspi.EditableText.set_text_contents(obj, text):
        raise Failure(f"could not set the text of {obj.get_role_name()} {obj.get_name()!r}")


# --- the program --------------------------------------------------------------------------

class Program:
    """The program under test, found on the desktop by its process id; without one, the
    Ludora whose process id is none of `others` (one started by another program)."""

    def __init__(self, pid, others=()):
        self.pid = pid
        self.others = set(others)
        Atspi.set_timeout(CALL_MS, STARTUP_MS)
        self.app = wait_until("the program on the AT-SPI desktop", self._find_app)
        self.pid = self.app.get_process_id()
        # Names, states and children are read afresh: the suite polls for their changes.
        # Roles and interfaces do not change.
        self.app.set_cache_mask(Atspi.Cache.ROLE | Atspi.Cache.INTERFACES)

    def _find_app(self):
        desktop = Atspi.get_desktop(0)
        for app in children(desktop):
            pid = app.get_process_id()
            wanted = (pid == self.pid if self.pid is not None else
                      pid not in self.others and app.get_name() == "Ludora")
            if wanted and app.get_child_count() > 0:
                return app
        return None

    def windows(self):
        return children(self.app)

    def window(self, role, name):
        """A top-level window of the program, waiting for it to appear."""
        def probe():
            for win in self.windows():
                if win.get_role_name() == role and win.get_name() == name:
                    return win
            return None
        return wait_until(f"window {role} {name!r}", probe, seen=lambda: [
            f"{w.get_role_name()} {w.get_name()!r}" for w in self.windows()])

    def wait_window_gone(self, role, name):
        wait_for(f"window {role} {name!r} closed",
                 lambda: any(w.get_role_name() == role and w.get_name() == name
                             and has_state(w, "visible") for w in self.windows()),
                 expected=False)

    def running(self):
        try:
            with open(f"/proc/{self.pid}/stat") as stat:
                return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
        except FileNotFoundError:
            return False


# --- real keystrokes ------------------------------------------------------------------------

def x_window(pid, title):
    """The X window id of the program's window with this title."""
    def probe():
        found = subprocess.run(
            ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name",
             f"^{title}$"], capture_output=True, text=True).stdout.split()
        return found[0] if found else None
    return wait_until(f"X window {title!r}", probe)


def focus_window(window_id):
    # There is no window manager: the input focus is set directly.
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True)


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


def drag(source_window, target_window):
    """Drags with the mouse from the middle of one window to the middle of another."""
    def middle(window):
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                                  capture_output=True, text=True, check=True).stdout
        values = dict(line.split("=") for line in geometry.split())
        return (int(values["X"]) + int(values["WIDTH"]) // 2,
                int(values["Y"]) + int(values["HEIGHT"]) // 2)
    (x0, y0), (x1, y1) = middle(source_window), middle(target_window)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x0), str(y0), "mousedown", "1"],
                   check=True)
    for step in range(1, 11):  # the drag follows the pointer on its way
        subprocess.run(["xdotool", "mousemove", "--sync", str(x0 + (x1 - x0) * step // 10),
                        str(y0 + (y1 - y0) * step // 10)], check=True)
        time.sleep(0.05)
    subprocess.run(["xdotool", "mouseup", "1"], check=True)


def click(obj, modifier=None, lowest=False):
    """Clicks an object with the mouse, in its middle or on the lowest row of its pixels,
    holding a modifier key."""
    box = obj.get_extents(Atspi.CoordType.SCREEN)
    x, y = box.x + box.width // 2, box.y + (box.height - 1 if lowest else box.height // 2)
    command = ["xdotool", "mousemove", "--sync", str(x), str(y)]
    if modifier:
        command += ["keydown", modifier, "click", "1", "keyup", modifier]
    else:
        command += ["click", "1"]
    subprocess.run(command, check=True)


def run_cases(cases):
    """Runs (name, case) pairs, each on its own: a failure is told and the next case runs.
    Returns the exit status: 1 when any failed."""
    failed = 0
    for name, case in cases:
        try:
            case()
            print(f"PASS {name}")
        except (Failure, subprocess.TimeoutExpired) as failure:
            print(f"FAIL {name}: {failure}")
            failed += 1
    print(f"{len(cases) - failed} passed, {failed} failed")
    return 1 if failed else 0
