"""A throw-away desktop for one screen-reader run: Xvfb on a free display, a session bus, the
accessibility bus, openbox and Orca, each started here and each ended here, whatever happens.

Everything started here carries RUN_MARK=<run id> in its environment, and so does whatever it
starts in turn (the accessibility bus's own daemon, the registry): the end of the run finds and
ends by that mark what a crash left behind, and nothing of anyone else's.
"""

import ctypes
import glob
import json
import os
import pty
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import tty
import uuid

RUN_MARK = "SUMATKO_ORCA_RUN"

# The run's session bus starts no service on demand: whatever is on it was started here.
SESSION_BUS_CONFIG = """<busconfig>
  <type>session</type>
  <listen>unix:dir={dir}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""

# Orca refuses to start while any other Orca of the same user runs anywhere on the machine (it
# asks pgrep), even one of another run on its own display and buses. This one is alone on the
# run's display and buses, so that one check is left out; the rest is /usr/bin/orca as it is.
ORCA_ALONE = """
import sys
path = "/usr/bin/orca"
with open(path, encoding="utf-8") as source:
    code = compile(source.read(), path, "exec")
cli = {"__name__": "orca_command_line", "__file__": path}
exec(code, cli)
cli["otherOrcas"] = lambda: []
sys.exit(cli["main"]())
"""

# The pupil's Orca: its defaults, except that it speaks to no synthesizer (the run needs only
# its log of what it says), plays no sound, drives no braille display and echoes no keys, so
# that what it says is what the program tells it.
ORCA_SETTINGS = {"enableSpeech": True, "speechServerFactory": "", "speechFactoryModules": [],
                 "enableSound": False, "enableBraille": False, "enableKeyEcho": False}

_prctl = ctypes.CDLL("libc.so.6", use_errno=True).prctl
_PR_SET_PDEATHSIG = 1
_PR_SET_CHILD_SUBREAPER = 36


def _die_with_parent():
    """Runs in each child before exec: SIGKILL comes to it should this script be killed outright."""
    _prctl(_PR_SET_PDEATHSIG, signal.SIGKILL, 0, 0, 0)


class Failure(Exception):
    """The run cannot go on: a process did not start, or a wait ran out."""


_stop = []  # the signals that asked the run to stop


def stop_at_next_wait(signum, frame):
    """A signal handler. The run stops at its next wait rather than where the signal falls: an
    interruption raised in the middle of pyatspi's calls was seen to surface seconds later."""
    _stop.append(signal.Signals(signum).name)


def _check_stop():
    if _stop:
        raise KeyboardInterrupt(_stop[0])


def wait_until(condition, timeout, what):
    """Polls `condition` until it gives something true; the wait is for a state, not a time."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        _check_stop()
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {timeout:.0f} s")
        time.sleep(0.02)
    return value


class DebugLog:
    """Orca's debug file, line by line as Orca writes it.

    Orca opens its --debug-file in text mode, which Python buffers by blocks unless the file is
    a terminal, which it buffers by lines. So Orca writes to a pseudo-terminal; a thread here
    copies each line into the real file and hands it, and its SPEECH OUTPUT, to the waiters.
    """

    # The text, then Orca's voice: "voice=...", a dict, or a list of dicts.
    _SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\w+)?\s*(?:\[?\{.*\}\]?|\[\])?\s*$")
    # Orca's own failures: its tracebacks and stacks, "bad content sent to speak()", errors.
    _ERROR = re.compile(r"^Traceback|^  File \"|\bERROR\b|\bEXCEPTION\b|bad content|Exception when")

    def __init__(self, path):
        self.lines, self.speech, self.errors = [], [], []
        self._changed = threading.Condition()
        self._master, self._slave = pty.openpty()
        tty.setraw(self._slave)  # "\n" stays "\n"
        self.terminal = os.ttyname(self._slave)
        self._file = open(path, "w", encoding="utf-8")
        self._closing = False
        self._thread = threading.Thread(target=self._copy, daemon=True)
        self._thread.start()

    def _copy(self):
        pending = b""
        while True:
            try:
                ready, _, _ = select.select([self._master], [], [], 0.2)
                chunk = os.read(self._master, 65536) if ready else b""
            except OSError:  # Orca has gone
                chunk = None
            if chunk is None or (not chunk and self._closing):
                break
            *lines, pending = (pending + chunk).split(b"\n")
            with self._changed:
                for line in (raw.decode("utf-8", "replace") for raw in lines):
                    self.lines.append(line)
                    self._file.write(line + "\n")
                    if match := self._SPEECH.search(line):
                        self.speech.append(match.group(1))
                    if self._ERROR.search(line):
                        self.errors.append(line)
                self._file.flush()
                self._changed.notify_all()
        with self._changed:
            self._changed.notify_all()

    def wait(self, condition, timeout):
        """Waits until condition(self) gives something true and returns it; None at the timeout."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while not (value := condition(self)):
                _check_stop()
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self._changed.wait(min(left, 0.5))
            return value

    def find(self, pattern, since=0):
        """The first debug line from `since` on that matches `pattern`, or None."""
        regex = re.compile(pattern)
        return next((line for line in self.lines[since:] if regex.search(line)), None)

    def close(self):
        self._closing = True
        self._thread.join(timeout=5)
        for fd in (self._master, self._slave):
            os.close(fd)
        self._file.close()


class Desktop:
    """Starts the display, the buses, the window manager and Orca; ends them all on exit."""

    def __init__(self, out_dir, locale_dir, lang, verbose=False):
        self.out_dir, self.locale_dir, self.lang, self.verbose = out_dir, locale_dir, lang, verbose
        # The mark names this script's process, so that a later run can tell an abandoned run.
        self.run_id = f"{os.getpid()}-{uuid.uuid4().hex}"
        self.processes = []  # (name, Popen) in the order started
        self.tmp = self.log = self.display = self.a11y_address = None
        self.env = {}

    def __enter__(self):
        # What the run's processes start and leave behind comes back to this script, which
        # ends it and collects it at the end.
        _prctl(_PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        try:
            self._start_all()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _start_all(self):
        end_abandoned_runs()
        self.tmp = tempfile.mkdtemp(prefix=f"sumatko-orca-{os.getpid()}-")
        home, runtime = os.path.join(self.tmp, "home"), os.path.join(self.tmp, "runtime")
        os.makedirs(home, mode=0o700)
        os.makedirs(runtime, mode=0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_RUNTIME_DIR": runtime,
            "GSETTINGS_BACKEND": "memory",
            "LANG": self.lang,
            "LC_ALL": self.lang,
            "LANGUAGE": self.lang.split(".")[0],
            "LOCPATH": self.locale_dir,
            RUN_MARK: self.run_id,
        }
        # Xvfb picks a free display itself and writes its number once it takes connections.
        self.display = ":" + self._start_and_read("Xvfb", ["Xvfb", "-displayfd", "{fd}", "-screen", "0",
                                                           "1024x768x24", "-nolisten", "tcp", "-noreset"])
        self.env["DISPLAY"] = self.display
        config = os.path.join(self.tmp, "session-bus.conf")
        with open(config, "w") as f:
            f.write(SESSION_BUS_CONFIG.format(dir=self.tmp))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_and_read(
            "dbus-daemon", ["dbus-daemon", "--nofork", "--config-file", config, "--print-address={fd}"])
        self._start_accessibility_bus()
        self._start("openbox", ["openbox", "--sm-disable"])
        # The window manager is up once it answers for the desktops it manages.
        wait_until(lambda: subprocess.run(["xdotool", "get_num_desktops"], env=self.env, capture_output=True,
                                          timeout=10).returncode == 0, 20, "openbox did not start")
        self._start_orca()

    def _start(self, name, argv, env=None, **kwargs):
        if self.verbose:
            print(f"[desktop] {name}: {' '.join(argv)}", flush=True)
        with open(os.path.join(self.tmp, name + ".log"), "w") as out:
            process = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=out,
                                       stderr=subprocess.STDOUT, start_new_session=True,
                                       preexec_fn=_die_with_parent, **kwargs)
        self.processes.append((name, process))
        return process

    def _start_and_read(self, name, argv):
        """Starts a server that writes one line to the descriptor named {fd} once it is ready."""
        read_end, write_end = os.pipe()
        try:
            self._start(name, [a.format(fd=write_end) for a in argv], pass_fds=(write_end,))
        finally:
            os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            line = pipe.readline().strip() if select.select([pipe], [], [], 20)[0] else b""
        if not line:
            raise Failure(f"{name} did not start:{self.tail(name)}")
        return line.decode()

    def _start_accessibility_bus(self):
        from gi.repository import Gio, GLib

        self._start("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        bus = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)

        def call(*args):
            return bus.call_sync(*args, None, Gio.DBusCallFlags.NO_AUTO_START, 5000).unpack()

        try:
            # The launcher takes its name on the session bus once the accessibility bus runs.
            wait_until(lambda: call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                    "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)))[0],
                       20, "the accessibility bus did not start")
            self.a11y_address = call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None)[0]
        finally:
            bus.close_sync()

    def _start_orca(self):
        prefs = os.path.join(self.env["XDG_DATA_HOME"], "orca")
        os.makedirs(prefs)
        profile = ["Default", "default"]
        with open(os.path.join(prefs, "user-settings.conf"), "w", encoding="utf-8") as f:
            json.dump({"general": dict(ORCA_SETTINGS, startingProfile=profile, activeProfile=profile),
                       "profiles": {"default": dict(ORCA_SETTINGS, profile=profile)},
                       "pronunciations": {}, "keybindings": {}}, f)
        self.log = DebugLog(os.path.join(self.out_dir, "orca-debug.out"))
        self._start("orca", ["/usr/bin/python3", "-c", ORCA_ALONE, "--debug-file", self.log.terminal])
        if not self.log.wait(lambda log: log.find(r"ORCA: Startup complete notification made"), 30):
            raise Failure(f"Orca did not start:{self.tail('orca')}")

    def start_program(self, program):
        # The accessibility bridge on from the start, as with a screen reader already running.
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        return self._start("program", [program], env=env)

    def tail(self, name, count=15):
        """The last lines a started process wrote, for a failure message."""
        try:
            with open(os.path.join(self.tmp, name + ".log"), encoding="utf-8", errors="replace") as f:
                return "".join("\n  " + line for line in f.read().splitlines()[-count:])
        except OSError:
            return " (no output)"

    def _end_the_rest(self):
        """Kills whatever of the run is still there and collects it; true once nothing is left."""
        left = marked_processes(self.run_id)
        for pid in left:
            _kill(pid)
        try:
            while os.waitpid(-1, os.WNOHANG)[0]:
                pass
        except ChildProcessError:
            pass
        return not left

    def __exit__(self, *exc):
        # The latest first: the program, Orca, openbox, the buses, the display last.
        for name, process in reversed(self.processes):
            began = time.monotonic()
            end_process_group(process)
            if self.verbose:
                print(f"[desktop] {name} ended in {time.monotonic() - began:.2f} s", flush=True)
        # Not wait_until, which a second Ctrl-C would cut short.
        deadline = time.monotonic() + 10
        while not self._end_the_rest() and time.monotonic() < deadline:
            time.sleep(0.02)
        if self.log:
            self.log.close()
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
        return False


def end_process_group(process, grace=5.0):
    """SIGTERM to the process's group; SIGKILL to whatever is left of the group after that."""
    _signal_group(process, signal.SIGTERM)
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        pass
    _signal_group(process, signal.SIGKILL)
    process.wait()


def _signal_group(process, sig):
    try:
        os.killpg(process.pid, sig)
    except ProcessLookupError:
        pass


def _kill(pid):
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def marked_processes(run_id=None):
    """{pid: run id} of the processes that carry this run's mark, or any run's."""
    prefix = f"{RUN_MARK}={run_id or ''}".encode()
    found = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit() and int(entry) != os.getpid():
            try:
                with open(f"/proc/{entry}/environ", "rb") as f:
                    marks = [v for v in f.read().split(b"\0") if v.startswith(prefix)]
            except OSError:
                continue
            if marks and (run_id is None or marks[0] == prefix):
                found[int(entry)] = marks[0].split(b"=", 1)[1].decode()
    return found


def end_abandoned_runs():
    """Ends what a run killed outright (SIGKILL: nothing of it could clean up) left: the
    processes and the directory of a run whose script is gone. Another run still going is left
    alone."""
    def gone(pid):
        return not os.path.exists(f"/proc/{pid}")

    for pid, run in marked_processes().items():
        if gone(run.split("-")[0]):
            _kill(pid)
    for path in glob.glob(os.path.join(tempfile.gettempdir(), "sumatko-orca-*-*")):
        if gone(os.path.basename(path).split("-")[2]):
            shutil.rmtree(path, ignore_errors=True)
