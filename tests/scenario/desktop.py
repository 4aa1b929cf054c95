"""A throw-away Linux desktop for the tests of the real program: Xvfb on a free display, a
session bus (which starts the accessibility bus when a client first asks for it) and openbox,
all in one process group of their own, which close() ends, whatever ends the run."""

import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time

TIMEOUT = 20  # seconds a wait for a state lasts
SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)


class Failed(Exception):
    """A check failed, or the run could not go on."""


def wait(condition, timeout=TIMEOUT):
    """Polls `condition` until it gives something true, or the timeout passes; returns its last
    value. The wait is for a state, never for a time."""
    deadline = time.monotonic() + timeout
    while not (value := condition()) and time.monotonic() < deadline:
        time.sleep(0.02)
    return value


_prctl = ctypes.CDLL("libc.so.6", use_errno=True).prctl


def die_with_parent():
    """Runs in each child before exec: should the test be killed outright, SIGKILL comes to it."""
    _prctl(1, signal.SIGKILL, 0, 0, 0)  # PR_SET_PDEATHSIG


class Desktop:
    """Environment entries given as keywords are added to what every started process gets."""

    def __init__(self, **env):
        # What the desktop's processes leave behind comes back to this process, to be collected.
        _prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
        self.group = 0
        self.tmp = tempfile.mkdtemp(prefix="sumatko-desktop-")
        self.output = open(f"{self.tmp}/output.log", "w")
        # A user's bare environment, with the sanitizers' options of the test run kept.
        sanitizers = {k: v for k, v in os.environ.items() if k in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS")}
        self.env = {**sanitizers, "PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.tmp,
                    "XDG_RUNTIME_DIR": self.tmp,
                    "GSETTINGS_BACKEND": "memory", "LANG": "C.UTF-8", **env}

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def start_session(self):
        # Xvfb picks a free display itself and writes its number once it takes connections.
        self.env["DISPLAY"] = ":" + self.start_and_read("Xvfb", "-displayfd", "{fd}", "-screen", "0", "1024x768x24",
                                                        "-nolisten", "tcp", "-noreset")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.start_and_read("dbus-daemon", "--session", "--nofork",
                                                                   "--print-address={fd}")
        self.start("openbox", "--sm-disable")
        # The window manager is up once it answers for the desktops it manages.
        if not wait(lambda: subprocess.run(["xdotool", "get_num_desktops"], env=self.env,
                                           capture_output=True).returncode == 0):
            raise Failed("openbox did not start" + self.tail())

    def start(self, *argv, env=None, **popen):
        popen = {"stdin": subprocess.DEVNULL, "stdout": self.output, "stderr": subprocess.STDOUT, **popen}
        process = subprocess.Popen(list(map(str, argv)), env=env or self.env, process_group=self.group,
                                   preexec_fn=die_with_parent, **popen)
        self.group = self.group or process.pid
        return process

    def start_and_read(self, *argv):
        """Starts a server that writes one line to the descriptor named {fd} once it is ready."""
        read_end, write_end = os.pipe()
        self.start(*(a.format(fd=write_end) for a in argv), pass_fds=(write_end,))
        os.close(write_end)
        with open(read_end) as pipe:
            if line := pipe.readline().strip():
                return line
        raise Failed(f"{argv[0]} did not start" + self.tail())

    def run(self, *argv, input=None):
        """Runs a desktop tool to its end; returns what it wrote to stdout."""
        try:
            done = subprocess.run(argv, env=self.env, input=input, capture_output=True, text=True, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failed(f"{' '.join(argv)}: no answer within {TIMEOUT} s" + self.tail()) from None
        if done.returncode != 0:
            raise Failed(f"{' '.join(argv)}: {done.stderr.strip()}" + self.tail())
        return done.stdout

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def tail(self, count=15):
        """The last lines the started processes wrote, for a failure message."""
        with open(f"{self.tmp}/output.log", errors="replace") as f:
            return "".join("\n  " + line for line in f.read().splitlines()[-count:])

    def ended(self):
        """Collects what has ended; true once nothing of the group is left."""
        with contextlib.suppress(ChildProcessError):
            while os.waitpid(-1, os.WNOHANG)[0]:
                pass
        try:
            os.killpg(self.group, 0)
        except ProcessLookupError:
            return True

    def close(self):
        if self.output.closed:
            return
        # A second Ctrl-C must not cut the ending short.
        handlers = [signal.signal(sig, signal.SIG_IGN) for sig in SIGNALS]
        # SIGTERM first: Xvfb then removes its lock file and socket.
        for sig in (signal.SIGTERM, signal.SIGKILL) if self.group else ():
            with contextlib.suppress(ProcessLookupError):
                os.killpg(self.group, sig)
            if wait(self.ended, timeout=5):
                break
        self.output.close()
        shutil.rmtree(self.tmp, ignore_errors=True)
        for sig, handler in zip(SIGNALS, handlers):
            signal.signal(sig, handler)
