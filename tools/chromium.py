"""Debian's Chromium, headless, driven by Debian's chromedriver and python3-selenium: for the
browser tests, the screenshots and the figures of the browser program."""
import os
import pathlib
import shutil
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common import utils

# The web preset's build directory, unless the test run names another.
BUILD = pathlib.Path(os.environ.get("SUMATKO_WEB_BUILD", pathlib.Path(__file__).resolve().parents[1] / "build" / "web"))
PAGE = (BUILD / "sumatko2001.html").as_uri()


class LoopbackService(Service):
    """chromedriver reached by its address: a bare Debian (a chroot) may have no /etc/hosts that
    names localhost."""

    @property
    def service_url(self):
        return f"http://127.0.0.1:{self.port}"

    def is_connectable(self):
        return utils.is_connectable(self.port, "127.0.0.1")


def start(width=520, height=243, scale=1, profile=None, accessibility=True):
    """A browser whose page is exactly width x height CSS pixels at the given device scale, with
    its accessibility tree built for every page as for a screen reader, unless told otherwise.

    Chromium is started here and chromedriver attaches to it by address (on its own it would
    reach the browser by the name localhost); quit() ends both."""
    own_profile = profile is None
    profile = profile or tempfile.mkdtemp(prefix="web-chromium-")
    port_file = pathlib.Path(profile) / "DevToolsActivePort"
    port_file.unlink(missing_ok=True)
    browser = subprocess.Popen(
        ["/usr/bin/chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars", "--no-first-run",
         "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0", f"--user-data-dir={profile}"]
        + (["--force-renderer-accessibility"] if accessibility else []) + ["about:blank"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        # Its singleton socket's folder too goes with the profile, not into the machine's /tmp.
        env=dict(os.environ, TMPDIR=profile))
    end = time.monotonic() + 30
    while not port_file.exists() or not port_file.read_text().strip():
        if time.monotonic() > end or browser.poll() is not None:
            browser.kill()
            raise RuntimeError("Chromium did not start")
        time.sleep(0.05)
    options = webdriver.ChromeOptions()
    options.debugger_address = f"127.0.0.1:{port_file.read_text().split()[0]}"
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=LoopbackService("/usr/bin/chromedriver"), options=options)
    detach = driver.quit

    def quit():
        try:
            detach()
        finally:
            browser.terminate()
            browser.wait(10)
            if own_profile:
                shutil.rmtree(profile, ignore_errors=True)

    driver.quit = quit
    resize(driver, width, height, scale)
    return driver


def resize(driver, width, height, scale=1):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": scale, "mobile": False})


def wait_for(driver, script, timeout=10.0):
    """Waits until the script's expression is true in the page; returns its value."""
    end = time.monotonic() + timeout
    while True:
        value = driver.execute_script(f"return {script}")
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"still not true after {timeout} s: {script}")
        time.sleep(0.02)


def open_page(driver, url=PAGE):
    """Opens the page and waits until its program has started: Start has the focus, or a
    message to the teacher is shown."""
    # The tab in front: a tab behind others is hidden, and its timers are throttled.
    driver.execute_cdp_cmd("Page.bringToFront", {})
    driver.get(url)
    wait_for(driver, "typeof Module.pausing === 'function' && "
                     "(document.activeElement.id === 'Command3' || message.open)")


def console_errors(driver):
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def accessibility(driver):
    """The page's accessibility tree as Chromium gives it to screen readers: (role, name,
    description, focused) of every node that has a name."""
    nodes = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]

    def value(node, key):
        return (node.get(key) or {}).get("value", "")

    def focused(node):
        return any(p["name"] == "focused" and p["value"]["value"] for p in node.get("properties", []))

    return [(value(n, "role"), value(n, "name"), value(n, "description"), focused(n))
            for n in nodes if not n.get("ignored") and value(n, "name")]
