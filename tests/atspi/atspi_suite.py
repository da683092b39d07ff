"""Ludora driven through the accessibility bus only, as a screen reader user would drive it.

Run by run-atspi-tests, which starts the program and gives its process id in LUDORA_PID and
its working folder (where the file dialogs open) in LUDORA_FILES. The steps build on each
other and run in order; the first failure ends the run.
"""

import os
import subprocess
import sys
import time
import traceback

from atspi_support import (CAPTIONS, Atspi, Failure, GLib, Program, action_names, check,
                           children, collection_file, descendants, do, do_modal, find, find_all,
                           click, drag, focus_window, has_state, keys, list_items, names, set_text, states,
                           text_of, the, type_text, wait_for, wait_until, x_window)
NAME_BOX = "Name to add to list:"
COUNT = "Total games in list: {}"
FILES = os.environ["LUDORA_FILES"]
FOCUS_ROLES = {"push button", "text", "list", "page tab", "link", "combo box"}
OPENED_LOG = os.environ.get("LUDORA_OPENED_LOG", "")


class Suite:
    def __init__(self):
        self.program = Program(int(os.environ["LUDORA_PID"]))
        self.main = self.program.window("frame", "Ludora")
        self.tabs = the(self.main, "page tab list", "Consoles")
        self.name_box = the(self.main, "text", NAME_BOX)
        self.add = the(self.main, "push button", "Add Name")
        self.delete = the(self.main, "push button", "Delete Name(s)")
        # The caption "Total games in list:" is a label of its own; the count reads with it.
        self.count = wait_until("the count label", lambda: next(
            (label for label in find_all(self.main, "label")
             if label.get_name().startswith(COUNT.format(""))), None))
        self.focusable = {}

    # --- reading the main window -------------------------------------------------------

    def page_tabs(self):
        return [t for t in children(self.tabs) if t.get_role_name() == "page tab"]

    def tab(self, caption):
        return the(self.tabs, "page tab", caption)

    def selected_tabs(self):
        return [t.get_name() for t in self.page_tabs() if has_state(t, "selected")]

    def list(self, caption):
        return the(self.main, "list", caption)

    def menu_item(self, *path):
        item = self.main
        for caption in path:
            item = the(item, "menu item", caption)
        return item

    def expect_list(self, caption, expected):
        wait_for(f"names in the list {caption}", lambda: list_items(self.list(caption)),
                 expected)

    def expect_count(self, n):
        wait_for("the count label's accessible name", self.count.get_name, COUNT.format(n))

    def add_name(self, name):
        set_text(self.name_box, name)
        wait_for("the name box", lambda: text_of(self.name_box), name)
        do(self.add)
        wait_for("the name box after Add Name", lambda: text_of(self.name_box), "")

    def focused(self, root):
        """The control of a window that has the keyboard focus, as role and name."""
        key = root.get_name()
        if key not in self.focusable:
            self.focusable[key] = [obj for obj in descendants(root)
                                   if obj.get_role_name() in FOCUS_ROLES]
        for obj in self.focusable[key]:
            if has_state(obj, "focused"):
                return f"{obj.get_role_name()} {obj.get_name()}"
        return None

    # --- file dialogs --------------------------------------------------------------------

    def file_dialog(self, title, file_name, button):
        dialog = self.program.window("dialog", title)
        field = the(dialog, "text", "File name:")
        set_text(field, file_name)
        accept = the(dialog, "push button", button)
        wait_for(f"{button} button enabled", lambda: has_state(accept, "enabled"))
        do(accept)
        self.program.wait_window_gone("dialog", title)

    def answer(self, title, prompt, button, then_gone=True):
        box = self.program.window("alert", title)
        if prompt is not None:
            wait_for(f"the question in {title!r}",
                     lambda: [label.get_name() for label in find_all(box, "label")
                              if label.get_name()], [prompt])
        buttons = sorted(names(find_all(box, "push button")))
        do(the(box, "push button", button))
        if then_gone:  # not when another box of the same title follows
            self.program.wait_window_gone("alert", title)
        return buttons

    def box_saying(self, title, text):
        """The visible message box whose text holds `text`."""
        return wait_until(f"a box {title!r} saying {text!r}", lambda: next(
            (w for w in self.program.windows() if w.get_role_name() == "alert"
             and w.get_name() == title and has_state(w, "visible")
             and any(text in label.get_name() for label in find_all(w, "label"))), None))


# --- the steps ---------------------------------------------------------------------------

def start_up_state(s):
    check("window title", "Ludora", s.main.get_name())
    tabs = s.page_tabs()
    check("page tab captions, in order", CAPTIONS, names(tabs))
    wait_for("the selected page tab", s.selected_tabs, ["TG16"])
    for tab in tabs:
        available = tab.get_name() in CAPTIONS[:3]
        st = states(tab)
        check(f"tab {tab.get_name()} enabled/sensitive", (available, available),
              ("enabled" in st, "sensitive" in st))
    for caption in ("Import", "Config"):
        st = states(s.menu_item(caption))
        check(f"menu {caption} enabled/sensitive", (False, False),
              ("enabled" in st, "sensitive" in st))
    for caption in ("File", "Help"):
        check(f"menu {caption} enabled", True, has_state(s.menu_item(caption), "enabled"))
    file_entries = [item.get_name() for item in find_all(s.menu_item("File"), "menu item")
                    if item.get_name()]
    check("File menu entries", ["Open...", "Close", "Save As...", "Print...", "Exit"],
          file_entries)
    help_entries = [item.get_name().strip() for item in find_all(s.menu_item("Help"),
                                                                 "menu item")]
    check("Help menu entries", ["Contents", "About"], help_entries)
    toolbar = the(s.main, "tool bar", "Toolbar")
    check("toolbar buttons", ["Open", "Save", "Print"],
          [b.get_name() for b in find_all(toolbar, "push button") if has_state(b, "visible")])
    check("lists, named by their tabs", CAPTIONS, names(find_all(s.main, "list")))
    check("TG16 list shown", True, has_state(s.list("TG16"), "showing"))
    check("name box text", "", text_of(s.name_box))
    check("Add Name is the default button", True, has_state(s.add, "is-default"))
    s.expect_count(0)
    wait_for("focus at start", lambda: s.focused(s.main), f"text {NAME_BOX}")


def keyboard_focus_order(s):
    focus_window(x_window(s.program.pid, "Ludora"))
    wait_for("main window active", lambda: has_state(s.main, "active"))
    expected = ["push button Add Name", "push button Delete Name(s)", "page tab TG16",
                "list TG16", f"text {NAME_BOX}"]
    for step in expected:
        keys("Tab")
        wait_for("focus after Tab", lambda: s.focused(s.main), step)
    for step in ["list TG16", "page tab TG16"]:
        keys("shift+Tab")
        wait_for("focus after Shift+Tab", lambda: s.focused(s.main), step)
    # On the headers the arrows move between the available tabs only, wrapping round.
    keys("Right")
    wait_for("selected tab after Right from TG16", s.selected_tabs, ["N64"])
    keys("Left")
    wait_for("selected tab after Left from N64", s.selected_tabs, ["TG16"])
    keys("Left")
    wait_for("selected tab after Left from TG16", s.selected_tabs, ["JAGUAR"])
    keys("End")
    wait_for("selected tab after End", s.selected_tabs, ["TG16"])
    wait_for("focus follows the header", lambda: s.focused(s.main), "page tab TG16")
    # Menus open by their access keys.
    file_menu = find(s.menu_item("File"), "popup menu")
    keys("alt+f")
    wait_for("File menu open after Alt+F", lambda: has_state(file_menu, "showing"))
    keys("Escape")
    wait_for("File menu closed after Escape", lambda: has_state(file_menu, "showing"), False)
    keys("Escape")  # and out of the menu bar
    do(s.name_box, "SetFocus")
    wait_for("focus back in the name box", lambda: s.focused(s.main), f"text {NAME_BOX}")


def add_names(s):
    s.add_name("beta")
    s.expect_list("TG16", ["beta"])
    s.expect_count(1)
    s.add_name("Alpha")
    s.add_name("alpha2")
    s.expect_list("TG16", ["Alpha", "alpha2", "beta"])
    s.expect_count(3)
    # Typed for real, and Enter adds through the default button.
    focus_window(x_window(s.program.pid, "Ludora"))
    do(s.name_box, "SetFocus")
    wait_for("focus in the name box", lambda: s.focused(s.main), f"text {NAME_BOX}")
    type_text("Gamma")
    wait_for("typed text", lambda: text_of(s.name_box), "Gamma")
    keys("Return")
    s.expect_list("TG16", ["Alpha", "alpha2", "beta", "Gamma"])
    s.expect_count(4)


def delete_selection(s):
    lst = s.list("TG16")
    item = find(lst, "list item", "alpha2")
    do(item, "Toggle")
    wait_for("alpha2 selected", lambda: has_state(find(lst, "list item", "alpha2"), "selected"))
    do(s.delete)
    s.expect_list("TG16", ["Alpha", "beta", "Gamma"])
    s.expect_count(3)
    # Two rows at once, through the list's table interface.
    Atspi.Table.add_row_selection(lst, 1)
    Atspi.Table.add_row_selection(lst, 2)
    wait_for("rows selected", lambda: sorted(Atspi.Table.get_selected_rows(lst)), [1, 2])
    do(s.delete)
    s.expect_list("TG16", ["Alpha"])
    s.expect_count(1)


def mouse_selection(s):
    """Click a row, Shift+click an earlier one on its lowest pixel: both and all between are
    selected; Delete Name(s) leaves the cursor on the name after them, from which the next
    Shift+click selects."""
    rows = [f"Row {i}" for i in range(1, 7)]
    for name in rows:
        s.add_name(name)
    s.expect_list("TG16", ["Alpha"] + rows)
    lst = s.list("TG16")
    focus_window(x_window(s.program.pid, "Ludora"))
    click(find(lst, "list item", "Row 5"))
    click(find(lst, "list item", "Row 2"), "shift", lowest=True)
    selected = ["Row 2", "Row 3", "Row 4", "Row 5"]
    wait_for("rows selected by Shift+click", lambda: [
        item.get_name() for item in find_all(lst, "list item") if has_state(item, "selected")],
        selected)
    do(s.delete)
    s.expect_list("TG16", ["Alpha", "Row 1", "Row 6"])
    click(find(lst, "list item", "Row 1"), "shift")
    wait_for("rows selected from the cursor", lambda: [
        item.get_name() for item in find_all(lst, "list item") if has_state(item, "selected")],
        ["Row 1", "Row 6"])
    do(s.delete)
    s.expect_list("TG16", ["Alpha"])


def unavailable_tab_refuses(s):
    for caption in ("UserDef3", "UserDef24"):
        tab = s.tab(caption)
        check(f"actions offered by {caption}", [], action_names(tab))
        for index in range(3):
            try:
                done = Atspi.Action.do_action(tab, index)
            except GLib.Error:
                done = False
            check(f"action {index} on {caption} carried out", False, done)
        try:
            Atspi.Component.grab_focus(tab)
        except GLib.Error:
            pass
    # A press takes effect a moment later. Add Name, pressed now, takes effect after anything
    # wrongly accepted above: once its name is in TG16's list, a switch would have shown.
    s.add_name("Bonk")
    s.expect_list("TG16", ["Alpha", "Bonk"])
    check("selected tab", ["TG16"], s.selected_tabs())
    check("UserDef3's list shown", False, has_state(s.list("UserDef3"), "showing"))
    check("TG16's list shown", True, has_state(s.list("TG16"), "showing"))
    check("focus on an unavailable tab", False,
          s.focused(s.main) in ("page tab UserDef3", "page tab UserDef24"))
    s.expect_count(2)


def list_follows_the_cursor(s):
    """A screen reader follows the cursor through a list: each row it lands on is told as
    focused, by its item, which then reads as focused and selected."""
    lst = s.list("TG16")
    heard = []

    def hear(event):
        if event.detail1 == 1:
            heard.append(f"{event.source.get_role_name()} {event.source.get_name()}")

    def heard_focus_on(name):
        while GLib.MainContext.default().iteration(False):
            pass  # hands the events that came to the listener
        return f"list item {name}" in heard

    listener = Atspi.EventListener.new(hear)
    listener.register("object:state-changed:focused")
    try:
        focus_window(x_window(s.program.pid, "Ludora"))
        do(s.name_box, "SetFocus")
        keys("shift+Tab")  # the list comes just before the name box
        wait_for("focus in the list", lambda: s.focused(s.main), "list TG16")
        for key, name, other in (("End", "Bonk", "Alpha"), ("Home", "Alpha", "Bonk")):
            heard_focus_on(None)
            heard.clear()
            keys(key)
            wait_for(f"focus told on {name} after {key}", lambda: heard_focus_on(name))
            item = find(lst, "list item", name)
            check(f"{name} after {key}: focused and selected", {"focused", "selected"},
                  states(item) & {"focused", "selected"})
            check(f"{other} after {key}: focused or selected", set(),
                  states(find(lst, "list item", other)) & {"focused", "selected"})
    finally:
        listener.deregister("object:state-changed:focused")
    do(s.name_box, "SetFocus")
    wait_for("focus back in the name box", lambda: s.focused(s.main), f"text {NAME_BOX}")


def switch_tabs(s):
    check("JAGUAR's actions", True, "Press" in action_names(s.tab("JAGUAR")))
    do(s.tab("JAGUAR"))
    wait_for("selected tab", s.selected_tabs, ["JAGUAR"])
    wait_for("JAGUAR's list shown", lambda: has_state(s.list("JAGUAR"), "showing"))
    s.expect_count(0)
    s.add_name("Tempest 2000")
    s.expect_list("JAGUAR", ["Tempest 2000"])
    s.expect_count(1)
    do(s.tab("TG16"))
    wait_for("selected tab", s.selected_tabs, ["TG16"])
    s.expect_count(2)


def save_as(s):
    do_modal(s.menu_item("File", "Save As..."))
    s.file_dialog("Save As", "games.LDX", "Save")
    path = os.path.join(FILES, "games.LDX")
    wait_for("the saved file exists", lambda: os.path.isfile(path))
    with open(path, "rb") as f:
        check("content of the saved file",
              collection_file({"JAGUAR": ["Tempest 2000"], "TG16": ["Alpha", "Bonk"]}), f.read())


def open_file(s):
    # An unsaved change first: Open offers to save it, and No drops it.
    s.add_name("Unsaved")
    s.expect_list("TG16", ["Alpha", "Bonk", "Unsaved"])
    do_modal(s.menu_item("File", "Open..."))
    buttons = s.answer("Close List", "Save changes?", "No")
    check("buttons of the Close List question", ["Cancel", "No", "Yes"], buttons)
    s.file_dialog("Open", "games.LDX", "Open")
    s.expect_list("TG16", ["Alpha", "Bonk"])
    s.expect_list("JAGUAR", ["Tempest 2000"])
    s.expect_count(2)


def drop_file(s):
    """A collection file dragged from another program onto the window, with a real mouse:
    unsaved names go only on the user's word."""
    s.add_name("Unsaved")
    source = subprocess.Popen([os.environ["LUDORA_DRAG_SOURCE"], os.path.join(FILES, "games.LDX")])
    try:
        source_window = x_window(source.pid, "Drag source")
        for answer, expected in (("Cancel", ["Alpha", "Bonk", "Unsaved"]), ("No", ["Alpha", "Bonk"])):
            drag(source_window, x_window(s.program.pid, "Ludora"))
            s.answer("Close List", "Save changes?", answer)
            s.expect_list("TG16", expected)
    finally:
        source.kill()
        source.wait()


def about_box(s):
    do(s.menu_item("Help", "About "))
    box = s.program.window("dialog", "About Ludora")
    check("About box buttons", ["OK", "System Info..."], names(find_all(box, "push button")))
    labels = names(find_all(box, "label"))
    for text in ("Ludora", "Version 2.0.1"):
        check(f"About box shows {text!r}", True, text in labels)
    check("logo", ["Ludora logo"], names(find_all(box, "image")))
    check("separators", 3, len(find_all(box, "separator")))
    check("unnamed frames", [], names(find_all(box, "frame")))
    link = the(box, "link", "Click here to visit Ludora Hompage")
    check("link actions", True, "Press" in action_names(link))
    # Keyboard: OK first, System Info second, then the link.
    focus_window(x_window(s.program.pid, "About Ludora"))
    wait_for("focus in the About box", lambda: s.focused(box), "push button OK")
    keys("Tab")
    wait_for("focus after Tab", lambda: s.focused(box), "push button System Info...")
    keys("Tab")
    wait_for("focus after Tab", lambda: s.focused(box), "link Click here to visit Ludora Hompage")
    do(link)
    if OPENED_LOG:
        wait_for("the home page opened", lambda: opened().startswith("http"), True)
    # No system information tool here: the box says so and stays.
    do_modal(the(box, "push button", "System Info..."))
    s.answer("Ludora", "System Information Is Unavailable At This Time", "OK")
    # The bus ignores modality: OK pressed while the message is open closes the box and its
    # message, and the program goes on.
    do_modal(the(box, "push button", "System Info..."))
    s.program.window("alert", "Ludora")
    do(the(box, "push button", "OK"))
    s.program.wait_window_gone("dialog", "About Ludora")
    s.program.wait_window_gone("alert", "Ludora")
    check("program running after OK under the message", True, s.program.running())


def opened():
    try:
        with open(OPENED_LOG) as f:
            return f.read().strip()
    except FileNotFoundError:
        return ""


def default_printer():
    try:
        out = subprocess.run(["lpstat", "-d"], capture_output=True, text=True).stdout
    except FileNotFoundError:
        return None
    prefix = "system default destination:"
    return out[len(prefix):].strip() if out.startswith(prefix) else None


def print_dialog(s):
    # By the keyboard alone: Alt+F opens the File menu, P its Print... entry.
    focus_window(x_window(s.program.pid, "Ludora"))
    keys("alt+f")
    wait_for("File menu open", lambda: has_state(find(s.menu_item("File"), "popup menu"),
                                                 "showing"))
    keys("p")
    dialog = s.program.window("dialog", "Print List")
    box = the(dialog, "combo box", None)
    printers = list_items(find(box, "list"))
    if os.environ.get("LUDORA_REQUIRE_PRINTERS"):
        check("printers offered", True, len(printers) >= 1)
    # The system's default printer is preselected; the box's name tells which it is.
    default = default_printer()
    name = f"Printer: {default}" if default in printers else "Printer"
    check("printer box name", name, box.get_name())
    check("buttons", ["Print", "Cancel"], names(find_all(dialog, "push button")))
    focus_window(x_window(s.program.pid, "Print List"))
    wait_for("focus in the print dialog", lambda: s.focused(dialog), f"combo box {name}")
    if default in printers[:-1]:
        keys("Down")
        following = printers[printers.index(default) + 1]
        wait_for("printer box after Down", lambda: box.get_name(), f"Printer: {following}")
    keys("Tab")
    wait_for("focus after Tab", lambda: s.focused(dialog), "push button Print")
    keys("Tab")
    wait_for("focus after Tab", lambda: s.focused(dialog), "push button Cancel")
    keys("space")
    s.program.wait_window_gone("dialog", "Print List")
    wait_for("main window active after Cancel", lambda: has_state(s.main, "active"))


def changed_on_disk(s):
    """Another machine saves the open file meanwhile: Close's Yes asks before writing over it;
    Yes merges its names (the file untouched, the collection unsaved), No writes as before."""
    path = os.path.join(FILES, "games.LDX")
    theirs = collection_file({"JAGUAR": ["Cybermorph", "Tempest 2000"], "TG16": ["Alpha"]})
    with open(path, "wb") as f:
        f.write(theirs)
    s.add_name("Mine")
    s.expect_list("TG16", ["Alpha", "Bonk", "Mine"])
    question = ("games.LDX was changed by another program after Ludora opened it. "
                "Merge its games into this collection?")
    for answer in ("Yes", "No"):
        do_modal(s.menu_item("File", "Close"))
        s.answer("Close List", "Save changes?", "Yes")
        check("buttons of the question", ["Cancel", "No", "Yes"],
              s.answer("Ludora", question, answer, then_gone=answer == "No"))
        if answer == "Yes":
            do(the(s.box_saying("Ludora", "were merged"), "push button", "OK"))
            s.program.wait_window_gone("alert", "Ludora")
            s.expect_list("TG16", ["Alpha", "Mine"])  # Bonk deleted there, Mine added here
            s.expect_list("JAGUAR", ["Cybermorph", "Tempest 2000"])
            with open(path, "rb") as f:
                check("the file after the merge", theirs, f.read())
            with open(path, "wb") as f:  # and again, before the collection is saved
                f.write(collection_file({"TG16": ["Zaxxon"]}))
    s.expect_list("TG16", [])
    with open(path, "rb") as f:
        check("the file after No", collection_file(
            {"JAGUAR": ["Cybermorph", "Tempest 2000"], "TG16": ["Alpha", "Mine"]}), f.read())


def find_games(s):
    """Ctrl+F: every list searched as a screen reader hears it, a name on a tab that cannot
    be chosen listed, Enter going to a name; the name box's sign as its description."""
    with open(os.path.join(FILES, "find.LDX"), "wb") as f:
        f.write(collection_file({"JAGUAR": ["Tempest 2000"], "TG16": ["Alpha", "Bonk"],
                                 "UserDef5": ["Hidden Gem"]}))
    do_modal(s.menu_item("File", "Open..."))
    s.file_dialog("Open", "find.LDX", "Open")
    s.expect_list("TG16", ["Alpha", "Bonk"])
    focus_window(x_window(s.program.pid, "Ludora"))
    keys("ctrl+f")
    find = s.program.window("dialog", "Find Games")
    box = the(find, "text", "Find:")
    found = the(find, "table", "Games found")

    def heard():
        labels = [label.get_name() for label in find_all(find, "label")]
        return (names(find_all(found, "table cell")),
                [t for t in labels if "found" in t or "shown" in t])

    set_text(box, "hidden")
    wait_for("a name of a tab that cannot be chosen", heard,
             (["UserDef5: Hidden Gem"], ["1 game found"]))
    set_text(box, "BONK")
    wait_for("the results of BONK", heard, (["TG16: Bonk"], ["1 game found"]))
    do(s.tab("JAGUAR"))  # elsewhere first: Enter brings TG16 back
    wait_for("selected tab", s.selected_tabs, ["JAGUAR"])
    focus_window(x_window(s.program.pid, "Find Games"))
    keys("Return")
    wait_for("selected tab after Enter", s.selected_tabs, ["TG16"])
    wait_for("Bonk selected in TG16", lambda: [item.get_name() for item in find_all(
        s.list("TG16"), "list item") if has_state(item, "selected")], ["Bonk"])
    # The sign in the name box, read as its description.
    set_text(s.name_box, "bonk!")
    wait_for("the name box's description", s.name_box.get_description,
             "Already in TG16: Bonk")
    set_text(s.name_box, "Bonkers")
    wait_for("the name box's description gone", s.name_box.get_description, "")
    set_text(s.name_box, "")
    focus_window(x_window(s.program.pid, "Find Games"))
    keys("Escape")
    s.program.wait_window_gone("dialog", "Find Games")


def exit_asks_and_ends(s):
    s.add_name("Last")
    # Yes, and a Save As that cannot write: the message, and the window stays with the name.
    do_modal(s.menu_item("File", "Exit"))
    buttons = s.answer("Exit Ludora", "Save changes?", "Yes")
    check("buttons of the Exit question", ["No", "Yes"], buttons)
    s.file_dialog("Save As", os.path.join(FILES, "missing", "games.LDX"), "Save")
    s.answer("Ludora", None, "OK")
    check("program running after the failed save", True, s.program.running())
    s.expect_list("TG16", ["Alpha", "Bonk", "Last"])
    # Escape does not answer the question: it stays until No.
    do_modal(s.menu_item("File", "Exit"))
    s.program.window("alert", "Exit Ludora")
    focus_window(x_window(s.program.pid, "Exit Ludora"))
    keys("Escape")
    time.sleep(0.5)  # time for the key to arrive; the box must still be there after it
    check("the question after Escape", True, any(
        w.get_name() == "Exit Ludora" and has_state(w, "visible") for w in s.program.windows()))
    s.answer("Exit Ludora", "Save changes?", "No")
    wait_for("the program has ended", s.program.running, False)


STEPS = [start_up_state, keyboard_focus_order, add_names, delete_selection, mouse_selection,
         unavailable_tab_refuses, list_follows_the_cursor, switch_tabs, save_as, open_file, drop_file,
         about_box, print_dialog, changed_on_disk, find_games,
         exit_asks_and_ends]


def main():
    started = time.monotonic()
    try:
        suite = Suite()
    except Failure as failure:
        print(f"FAIL start: {failure}")
        return 1
    for step in STEPS:
        t0 = time.monotonic()
        try:
            step(suite)
        except Failure as failure:
            print(f"FAIL {step.__name__}: {failure}")
            return 1
        except Exception:  # noqa: BLE001 - report anything else as a failure of this step
            print(f"FAIL {step.__name__}:")
            traceback.print_exc(file=sys.stdout)
            return 1
        print(f"PASS {step.__name__} ({time.monotonic() - t0:.1f} s)")
    print(f"All {len(STEPS)} steps passed in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
