"""The Linux program, handled as a pupil handles it and read as a screen reader reads it: started
on a desktop of its own (desktop.py) with a Czech keyboard, keys and typing through xdotool, the
clipboard through xclip, and everything it shows read through AT-SPI (Debian's python3-pyatspi).

The reading is done by this file run as a second process on the program's desktop: libatspi
binds itself to the first accessibility bus it meets and never lets go, and each program has a
desktop, and so a bus, of its own."""

import json
import re
import select
import subprocess
import sys
from pathlib import Path

from desktop import TIMEOUT, Desktop, Failed, wait

SOURCE = Path(__file__).resolve().parents[2]
EVENTS = ("object:state-changed:focused", "object:state-changed:showing", "object:property-change:accessible-name")


class Program:
    """One running program, handled as a pupil handles it and read as a screen reader reads it."""

    def __init__(self, build_dir, args=(), school=None):
        """`school`: the school's exercise, installed where the administrator puts it."""
        self.desktop, self.status = Desktop(), None
        try:
            self.desktop.start_session()
            if school is not None:
                Path(self.desktop.tmp, "xdg/sumatko2001").mkdir(parents=True)
                Path(self.desktop.tmp, "xdg/sumatko2001/cviceni").write_text(school + "\n")
                self.desktop.env["XDG_CONFIG_DIRS"] = f"{self.desktop.tmp}/nowhere:{self.desktop.tmp}/xdg"
            # The keyboard of a Czech classroom: 'ě' and its kin are keys of their own, which
            # xdotool then presses instead of remapping a spare key, which races with the program.
            self.desktop.run("setxkbmap", "cz")
            self.reader = self.desktop.start("/usr/bin/python3", "-B", __file__, stdin=subprocess.PIPE,
                                             stdout=subprocess.PIPE, stderr=self.desktop.output, text=True)
            self._ask("ready")  # listening before the program starts: Qt sends only what is listened for
            self.stderr = open(Path(self.desktop.tmp, "program.stderr"), "w+")
            self.process = self.desktop.start(Path(build_dir, "app/sumatko2001"), *args, stderr=self.stderr, env=dict(
                self.desktop.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
            # The keys go to the window the window manager gives the focus to.
            self.xid = self.desktop.xdotool("search", "--sync", "--onlyvisible", "--name", "^Sumatko 2001$").split()[0]
            self.desktop.xdotool("windowactivate", "--sync", self.xid)
            self._ask("attach", self.process.pid)
            # The window comes up with Start focused, or with a message to the teacher.
            if not wait(lambda: self.focused() == "Command3" or self.message() is not None):
                raise Failed(f"the focus is on {self.focused()!r}, not on Start" + self.desktop.tail())
        except BaseException:
            self.desktop.close()
            raise

    def _ask(self, *request):
        self.reader.stdin.write(json.dumps(request) + "\n")
        self.reader.stdin.flush()
        if not select.select([self.reader.stdout], [], [], 3 * TIMEOUT)[0]:
            raise Failed(f"the AT-SPI reader did not answer {request}" + self.desktop.tail())
        answer = json.loads(self.reader.stdout.readline() or '{"error": "the AT-SPI reader ended"}')
        if "error" in answer:
            raise Failed(f"{request}: {answer['error']}" + self.desktop.tail())
        return answer["value"]

    def close(self):
        said = ""
        if self.status is None:
            if self.process.poll() is None:
                # The close button: the window manager sends WM_DELETE_WINDOW.
                subprocess.run(["wmctrl", "-i", "-c", self.xid], env=self.desktop.env, capture_output=True)
            try:
                self.status = self.process.wait(TIMEOUT)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.status = self.process.wait()
            self.reader.stdin.close()  # the reader ends at the end of its requests
            self.reader.stdout.close()
            self.stderr.seek(0)
            said = self.stderr.read()
        self.desktop.close()
        if said:
            raise Failed(f"the program wrote to stderr: {said[:2000]}")
        return self.status

    def keys(self, *keys):
        self.desktop.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.desktop.xdotool("type", "--clearmodifiers", "--", text)

    def paste(self, text):
        # xclip holds the clipboard once its first process ends; a second one serves it.
        self.desktop.start("xclip", "-selection", "clipboard", stdin=subprocess.PIPE, text=True).communicate(
            text, timeout=TIMEOUT)
        if not wait(lambda: self.desktop.run("xclip", "-selection", "clipboard", "-o") == text):
            raise Failed(f"the clipboard does not hold {text!r}")
        self.keys("ctrl+v")

    def focused(self):
        return self._ask("focused")

    def text(self, control):
        return self._ask("text", control)

    def selection(self, control):
        return self._ask("selection", control)

    def spoken(self, control):
        return tuple(self._ask("spoken", control))

    def value(self, control):
        return self._ask("value", control)

    def announced(self):
        return self._ask("announced")

    def message(self):
        return self._ask("message")


def _tree():
    """Where each control sits in the accessible tree: its path of child indices from the window.

    Qt's accessible tree mirrors the widget tree, and Qt 6.4 gives AT-SPI no object identifiers,
    so a control is found by its place, which no caption or accessible name changes. The window
    makes each container's controls in the order of the control table and lowers each new one
    beneath its siblings, so they appear in reverse table order; the window's announcer and focus
    sink, made before the controls, come after them. Rows are appended to Picture2 after its two
    templates, label then box: row i's label is child 2i, its box child 2i + 1."""
    table = re.findall(r'^\s*\{\w+,\s*(\w+),\s*"(\w+)",\s*(\w+),', (SOURCE / "form/controls.cpp").read_text(), re.M)
    children = {}
    for kind, name, container in reversed(table):
        if kind not in ("Window", "Timer"):
            children.setdefault(container, []).append(name)
    children["Form1"] += ["(announcer)", "(focus sink)"]
    paths = {"Form1": ()}

    def place(container):
        for index, name in enumerate(children.get(container, ())):
            paths[name] = paths[container] + (index,)
            place(name)

    place("Form1")
    return paths


class Reader:
    """The program's window as AT-SPI shows it, answering one request per line of stdin."""

    def __init__(self):
        self.paths = _tree()
        self.names = {path: name for name, path in self.paths.items() if not name.startswith("(")}
        self.list = self.paths["Picture2"]
        self.said, self.announcements, self.focus, self.announcer = "", [], None, None
        pyatspi.Registry.registerEventListener(self.event, *EVENTS)

    def serve(self):
        for line in sys.stdin:
            method, *args = json.loads(line)
            try:
                self.pump()
                answer = {"value": getattr(self, method)(*args)}
            except Exception as e:  # the driver's Failed, with the reason
                answer = {"error": f"{type(e).__name__}: {e}"}
            print(json.dumps(answer), flush=True)

    def pump(self):
        """Takes in the AT-SPI events that have come, without blocking."""
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def event(self, event):
        source = event.source
        if event.type.startswith("object:state-changed:focused"):
            if event.detail1:
                self.focus = source
            elif self.focus is not None and source.path == self.focus.path:
                self.focus = None
        elif self.announcer is not None and source.path == self.announcer:
            # Announcer::Say names the notification, then shows and hides it: a screen reader
            # speaks it as it shows. The same words again come with no new name.
            if event.type.startswith("object:property-change:accessible-name"):
                self.said = event.any_data
            elif event.detail1:
                self.announcements.append(self.said)

    def ready(self):
        return True

    def attach(self, pid):
        apps = pyatspi.Registry.getDesktop
        self.app = wait(lambda: next((a for a in apps(0) if a and a.get_process_id() == pid), None))
        self.window = self.app and wait(
            lambda: next((w for w in self.app if w and w.getRole() == pyatspi.ROLE_FRAME), None))
        if not self.window:
            raise Failed("the program's window never reached the accessibility bus")
        self.announcer = self.find("(announcer)").path

    def find(self, control):
        if match := re.fullmatch(r"(txtVysl|lblPrikl)\((\d+)\)", control):
            path = self.list + (2 * int(match[2]) + (match[1] == "txtVysl"),)
        else:
            path = self.paths[control]
        obj = self.window
        try:
            for index in path:
                if (obj := obj.getChildAtIndex(index) if 0 <= index < obj.childCount else None) is None:
                    return None
        except GLib.Error:  # a row removed while it was looked for
            return None
        return obj

    def focused(self):
        obj, path = self.focus, ()
        if obj is None or not obj.getState().contains(pyatspi.STATE_FOCUSED):
            return ""
        while obj.path != self.window.path:
            if obj.getRole() == pyatspi.ROLE_APPLICATION:
                return ""  # another window of the program's: a message
            path, obj = (obj.getIndexInParent(),) + path, obj.parent
        if path[:-1] == self.list and path[-1] >= 2:
            return f"{('lblPrikl', 'txtVysl')[path[-1] % 2]}({path[-1] // 2})"
        return self.names.get(path, "")

    def text(self, control):
        if (obj := self.find(control)) is None:
            return None
        # Qt 6.4 gives a label no Text interface: a label shows as its accessible name.
        return obj.queryText().getText(0, -1) if "Text" in obj.get_interfaces() else obj.name

    def selection(self, control):
        text = self.find(control).queryText()
        return text.getText(*text.getSelection(0)) if text.getNSelections() else ""

    def spoken(self, control):
        obj = self.find(control)
        return obj.name, obj.description

    def value(self, control):
        return int(self.find(control).getState().contains(pyatspi.STATE_CHECKED))

    def announced(self):
        said, self.announcements = self.announcements, []
        return said

    def message(self):
        for top in self.app:
            if top and top.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG) \
                    and top.getState().contains(pyatspi.STATE_SHOWING):
                return next((c.name for c in top if c.getRole() == pyatspi.ROLE_LABEL and c.name), "")
        return None


if __name__ == "__main__":
    import pyatspi
    from gi.repository import GLib

    Reader().serve()
